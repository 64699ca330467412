// The structure page written to a file: with the save dialog and the shell's "open" for the
// host's SaveAsHTML, or to a given file for SaveAsHTMLFile. Both write through the same code.
#pragma once

#include <windows.h>

#include <zkernel.h>

#include <string>
#include <string_view>

namespace kv::html {

// Reads the whole model and writes its page to the file (replacing it). Raises a LibraryError
// on any failure; a failure leaves no file.
void WriteStructurePage(IZModel& model, const std::wstring& path);

// SaveAsHTML: false for no model or a cancelled dialog; true once the page is written and
// handed to the shell to open (whatever the shell answers).
bool SaveStructurePageWithDialog(IZModel** model, HWND owner);

// SaveAsHTMLFile: false for no model; true once the page is written. No dialog, no "open".
bool SaveStructurePageToFile(IZModel** model, std::string_view file_name);

} // namespace kv::html
