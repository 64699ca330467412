#include "support/file_dialog_driver.h"

#include "support/dialog_driver.h"

#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

namespace {

// The file name box: a combo box holding an edit (explorer style) or an edit (old style).
HWND FileNameBox(HWND dialog) {
    HWND box = GetDlgItem(dialog, cmb13);
    return box ? box : GetDlgItem(dialog, edt1);
}

std::wstring DialogAnswer(HWND dialog, UINT message) {
    wchar_t text[4096] = {};
    SendMessageW(dialog, message, 4096, reinterpret_cast<LPARAM>(text));
    return text;
}

} // namespace

std::wstring DocumentsFolder() {
    PWSTR folder = nullptr;
    std::wstring path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &folder)))
        path = folder;
    CoTaskMemFree(folder);
    return path;
}

bool IsFileDialog(HWND dialog) {
    return FileNameBox(dialog) != nullptr;
}

void ChooseFile(HWND dialog, const std::wstring& path) {
    SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    Click(GetDlgItem(dialog, IDOK));
}

void CancelDialog(HWND dialog) {
    Click(GetDlgItem(dialog, IDCANCEL));
}

std::wstring ProposedFileName(HWND dialog) {
    return WindowText(FileNameBox(dialog));
}

std::wstring ProposedFolder(HWND dialog) {
    std::wstring folder = DialogAnswer(dialog, CDM_GETFOLDERPATH);
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

std::wstring SelectedFilter(HWND dialog) {
    return WindowText(GetDlgItem(dialog, cmb1));
}

FileDialogView LookAtFileDialog(HWND dialog) {
    FileDialogView view;
    view.owner = GetWindow(dialog, GW_OWNER);
    view.folder = DialogAnswer(dialog, CDM_GETFOLDERPATH);
    view.fileName = DialogAnswer(dialog, CDM_GETSPEC);
    view.fileType = SelectedFilter(dialog);
    return view;
}
