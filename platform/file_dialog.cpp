#include "platform/file_dialog.h"

#include "platform/barriers.h"

#include <commdlg.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

namespace kv::execution {

namespace {

constexpr wchar_t kDefaultFileName[] = L"scenery.vbs";
// One filter entry: description, pattern; the list ends with an empty entry.
constexpr wchar_t kScenarioFilter[] = L"Сценарий VBScript (*.vbs)\0*.vbs\0";
constexpr wchar_t kDefaultExtension[] = L"vbs";
// The longest path the platform knows, with room for its terminating zero.
constexpr DWORD kLongestPath = 32768;

} // namespace

std::wstring DocumentsFolder() {
    PWSTR folder = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_CREATE, nullptr, &folder);
    const std::unique_ptr<wchar_t, decltype(&CoTaskMemFree)> owner(folder, CoTaskMemFree);
    if (FAILED(hr) || !folder)
        throw LibraryError(FAILED(hr) ? hr : E_UNEXPECTED,
                           L"Не удалось найти папку документов пользователя");
    return folder;
}

std::optional<std::wstring> AskScenarioFile(HWND owner, ScenarioFileDialog kind,
                                            const std::wstring& initialFolder) {
    std::vector<wchar_t> file(kLongestPath, L'\0');
    std::copy(std::begin(kDefaultFileName), std::end(kDefaultFileName), file.begin());

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kScenarioFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initialFolder.c_str();
    dialog.lpstrDefExt = kDefaultExtension;
    // No change of the host's current folder: a relative name it passes later stays its own.
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
    BOOL chosen = FALSE;
    if (kind == ScenarioFileDialog::Open) {
        dialog.Flags |= OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
        chosen = GetOpenFileNameW(&dialog);
    } else {
        dialog.Flags |= OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
        chosen = GetSaveFileNameW(&dialog);
    }
    if (chosen)
        return std::wstring(file.data());
    const DWORD error = CommDlgExtendedError();
    if (error == 0)
        return std::nullopt;
    const wchar_t* what = kind == ScenarioFileDialog::Open
                              ? L"Не удалось показать диалог открытия файла"
                              : L"Не удалось показать диалог сохранения файла";
    throw LibraryError(E_FAIL, what + (L" (код " + std::to_wstring(error) + L")"));
}

} // namespace kv::execution
