// The files of a recording session: the scenario file written from the buffer, its deletion,
// and the Save File dialog that asks for it.
#pragma once

#include "recording/recording_state.h"

#include <windows.h>

#include <optional>
#include <string>

namespace kv {

// Writes the scenario file of the items (ScenarioFileText's bytes, written piece by piece),
// replacing the file. Paths past the platform's classic limit are written through the
// extended-length form. 0 on success, else the system error code.
DWORD WriteScenarioFile(const std::wstring& path, const ScriptItemList& items);

// Deletes the file; the outcome is not reported.
void DeleteScenarioFile(const std::wstring& path) noexcept;

// The Save File dialog for a scenario: "scenery.vbs" in the user's documents folder (created
// when missing), *.vbs, overwrite prompt. The chosen path, or nothing when cancelled.
std::optional<std::wstring> AskScenarioFile(HWND owner);

} // namespace kv
