// The platform's open and save dialogs as a test user works them from a helper thread: what
// they propose, typing a path, pressing their buttons.
#pragma once

#include <windows.h>

#include <string>

// The user's documents folder, without a trailing backslash; the library's file dialogs start
// there.
std::wstring DocumentsFolder();

// True for a common file dialog (it has a file name box).
bool IsFileDialog(HWND dialog);
// Types the path into the file name box and presses Open or Save.
void ChooseFile(HWND dialog, const std::wstring& path);
void CancelDialog(HWND dialog);
// What the dialog proposes: the file name, its folder (without a trailing backslash) and the
// selected file type.
std::wstring ProposedFileName(HWND dialog);
std::wstring ProposedFolder(HWND dialog);
std::wstring SelectedFilter(HWND dialog);

// What a file dialog showed when it opened.
struct FileDialogView {
    HWND owner = nullptr;
    std::wstring folder;
    std::wstring fileName;
    std::wstring fileType;
};
FileDialogView LookAtFileDialog(HWND dialog);
