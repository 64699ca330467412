// What a test sees of a dialog: the texts it shows, and for the platform's file dialogs the
// folder, file name and file type they opened with. Also typing a path into a file dialog.
#pragma once

#include <windows.h>

#include <string>

// The user's documents folder, without a trailing backslash.
std::wstring DocumentsFolder();

// The texts of the dialog's child windows, one per line.
std::wstring DialogTexts(HWND dialog);

// What a file dialog showed when it opened.
struct FileDialogView {
    HWND owner = nullptr;
    std::wstring folder;
    std::wstring fileName;
    std::wstring fileType;
};
FileDialogView LookAtFileDialog(HWND dialog);

// Types the path into the file name box and presses OK.
void ChooseFile(HWND dialog, const std::wstring& path);
