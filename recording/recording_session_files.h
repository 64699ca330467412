// The platform side of saving a scenario: paths of any length, environment references, the
// temporary and documents folders, the Save File dialog and the file write.
#pragma once

#include "recording/recording_state.h"

#include <windows.h>

#include "platform/file_dialog.h"

#include <optional>
#include <string>
#include <string_view>

namespace kv {

// The text with its %NAME% references expanded, at full length.
std::wstring ExpandEnvironment(const std::wstring& text);

// The user's temporary folder with a trailing backslash, at full length.
std::wstring TemporaryFolder();

// The path as platform calls take it at any length: past the classic limit, the full path in
// the extended-length form.
std::wstring ExtendedPath(const std::wstring& path);

// The path in the process ANSI code page for callers that take 8-bit paths. When the code page
// cannot represent it, the platform's short form of the existing file or folder is used; when
// even that fails, it raises.
std::string AnsiPath(const std::wstring& path);

// Writes the scenario file of the items (ScenarioFileText's bytes, written piece by piece),
// replacing the file. Paths past the platform's classic limit are written through the
// extended-length form. 0 on success, else the system error code.
DWORD WriteScenarioFile(const std::wstring& path, const ScriptItemList& items);

// Deletes the file; the outcome is not reported.
void DeleteScenarioFile(const std::wstring& path) noexcept;

// A file dialog of the platform, opened in the user's documents folder (created when missing).
struct DocumentsFileDialog {
    const wchar_t* fileName;  // the name proposed in the file name box
    const wchar_t* filter;    // description and pattern pairs, ended by an empty entry
    const wchar_t* extension; // the default extension, without its point
    DWORD flags;              // OFN_ flags beside the explorer style and keeping the folder
    bool save;                // the Save dialog, else the Open dialog
};

// The chosen path, at any length the dialog gives, or nothing when the user cancelled.
std::optional<std::wstring> AskFileInDocuments(HWND owner, const DocumentsFileDialog& dialog);

// The Save File dialog for a scenario: "scenery.vbs" in the user's documents folder (created
// when missing), *.vbs, overwrite prompt. The chosen path, or nothing when cancelled.
std::optional<std::wstring> AskScenarioFile(HWND owner);

} // namespace kv
