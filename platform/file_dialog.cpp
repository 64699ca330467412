#include "platform/file_dialog.h"

#include "platform/barriers.h"

#include <commdlg.h>

#include <string_view>
#include <vector>

namespace kv {
namespace {

// The longest path the platform knows, with room for its terminating zero.
constexpr DWORD kLongestPath = 32768;

} // namespace

std::optional<std::wstring> AskFile(HWND owner, const FileDialog& spec) {
    std::vector<wchar_t> file(kLongestPath, L'\0');
    const std::wstring_view proposed = spec.fileName;
    proposed.copy(file.data(), proposed.size());

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = spec.filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = spec.initialFolder.empty() ? nullptr : spec.initialFolder.c_str();
    dialog.lpstrDefExt = spec.extension;
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | spec.flags;
    if (spec.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))
        return std::wstring(file.data());
    const DWORD error = CommDlgExtendedError();
    if (error == 0)
        return std::nullopt;
    throw LibraryError(E_FAIL,
                       std::wstring(spec.save ? L"Не удалось показать диалог сохранения файла"
                                              : L"Не удалось показать диалог открытия файла") +
                           L" (код " + std::to_wstring(error) + L")");
}

} // namespace kv
