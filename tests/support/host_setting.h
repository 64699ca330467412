// What a host gives the library besides a model: the owner window of its dialogs and a folder of
// its own for the files it hands over.
#pragma once

#include <windows.h>

#include <string>

namespace kvtest {

// A hidden top-level window, as a host without a window of its own passes; the caller destroys
// it. Null when it cannot be made.
HWND CreateOwnerWindow(const wchar_t* title, int width = 200, int height = 100);

// TEMP\<prefix><process id>\ (with the trailing backslash): a folder no other test process uses.
// Not created here.
std::wstring ProcessTempFolder(const std::wstring& prefix);

} // namespace kvtest
