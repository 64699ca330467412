#include "file_dialog_view.h"

#include "dialog_driver.h"

#include <commdlg.h>
#include <shlobj.h>

namespace {

// Control identifiers of the common file dialog's file name box (explorer style, old style)
// and of its file type box.
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;
constexpr int kFileTypeCombo = 0x470;

std::wstring DialogMessage(HWND dialog, UINT message) {
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

std::wstring DialogTexts(HWND dialog) {
    std::wstring texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        texts += WindowText(child) + L"\n";
    return texts;
}

FileDialogView LookAtFileDialog(HWND dialog) {
    FileDialogView view;
    view.owner = GetWindow(dialog, GW_OWNER);
    view.folder = DialogMessage(dialog, CDM_GETFOLDERPATH);
    view.fileName = DialogMessage(dialog, CDM_GETSPEC);
    view.fileType = WindowText(GetDlgItem(dialog, kFileTypeCombo));
    return view;
}

void ChooseFile(HWND dialog, const std::wstring& path) {
    HWND box = GetDlgItem(dialog, kFileNameCombo);
    SetWindowTextW(box ? box : GetDlgItem(dialog, kFileNameEdit), path.c_str());
    Click(GetDlgItem(dialog, IDOK));
}
