// The files of a recording session: the scenario file written from the buffer, its deletion,
// and the Save File dialog that asks for it.
#pragma once

#include "recording/recording_state.h"

#include <windows.h>

#include <optional>
#include <string>

namespace kv {

// Writes the scenario file of the items (ScenarioFileText's bytes), replacing the file. Items
// kept in memory are written piece by piece; a recording that has spilled puts its spill file in
// the file's place (the items still in memory go there first; a failure to write them raises).
// Paths past the platform's classic limit are written through the extended-length form. 0 on
// success, else the system error code; the items are kept either way.
DWORD WriteScenarioFile(const std::wstring& path, ScriptItemList& items);

// Deletes the file; the outcome is not reported.
void DeleteScenarioFile(const std::wstring& path) noexcept;

// The Save File dialog for a scenario: "scenery.vbs" in the user's documents folder (created
// when missing), *.vbs, overwrite prompt. The chosen path, or nothing when cancelled.
std::optional<std::wstring> AskScenarioFile(HWND owner);

} // namespace kv
