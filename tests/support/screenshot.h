// Screenshots of windows for review, kept beside the test program's build folder.
#pragma once

#include <windows.h>

#include <string>

// Saves what the screen shows of `window` (frame included) as a 24-bit BMP file; false when it
// could not be written.
bool SaveWindowScreenshot(HWND window, const std::wstring& path);
