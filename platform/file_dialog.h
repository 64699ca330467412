// The platform's open and save dialogs, as every dialog of the library shows them: the
// explorer style, a buffer for paths of any length, and the host's current folder kept.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kv {

struct FileDialog {
    const wchar_t* fileName;   // the name proposed in the file name box
    const wchar_t* filter;     // description and pattern pairs, ended by an empty entry
    const wchar_t* extension;  // the default extension, without its point
    DWORD flags;               // OFN_ flags beside the explorer style and keeping the folder
    bool save;                 // the Save dialog, else the Open dialog
    std::wstring initialFolder; // "" lets the dialog choose
};

// Shows the dialog owned by `owner`; the chosen path at any length, or nothing when the user
// cancelled. The process's current folder is left as it was (a relative name the host passes
// later stays its own). Raises when the dialog cannot be shown.
std::optional<std::wstring> AskFile(HWND owner, const FileDialog& dialog);

} // namespace kv
