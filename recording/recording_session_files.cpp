#include "recording/recording_session_files.h"

#include "platform/barriers.h"
#include "execution/scenario_file.h"
#include "recording/recording_session_text.h"

#include <commdlg.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace kv {
namespace {

// The longest path the platform knows, with room for its terminating zero.
constexpr DWORD kLongestPath = 32768;
// A scenario is written a megabyte at a time: a large one is never held twice in memory.
constexpr std::size_t kWritePiece = 1024 * 1024;

DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = GetLastError();
    return error != 0 ? error : fallback;
}

[[noreturn]] void ThrowLastError(const wchar_t* what) {
    throw LibraryError(HRESULT_FROM_WIN32(LastErrorOr(ERROR_GEN_FAILURE)), what);
}

// Calls a platform function that fills a buffer and, when it is too small, answers the size it
// needs (the terminating zero included); 0 is an error.
template <class Fill> std::wstring GrowingBuffer(DWORD firstSize, Fill fill, const wchar_t* what) {
    std::wstring buffer(firstSize, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD answered = fill(buffer.data(), size);
        if (answered == 0)
            ThrowLastError(what);
        if (answered < size) {
            buffer.resize(answered);
            return buffer;
        }
        buffer.assign(answered, L'\0');
    }
}

// The text in the ANSI code page, or nothing when a character has no exact counterpart there.
std::optional<std::string> ExactAnsi(const std::wstring& text) {
    if (text.empty())
        return std::string();
    BOOL lossy = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                            static_cast<int>(text.size()), nullptr, 0, nullptr, &lossy);
    if (length <= 0 || lossy)
        return std::nullopt;
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                        ansi.data(), length, nullptr, &lossy);
    return ansi;
}

} // namespace

std::wstring ExtendedPath(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.starts_with(L"\\\\?\\"))
        return path;
    std::wstring full = GrowingBuffer(
        static_cast<DWORD>(path.size()) + MAX_PATH,
        [&](wchar_t* buffer, DWORD size) {
            return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
        },
        L"Не удалось получить полный путь к файлу");
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::wstring ExpandEnvironment(const std::wstring& text) {
    std::wstring buffer(text.size() + 1, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        // The answer counts the terminating zero: the text fits when it is at most the size.
        const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), buffer.data(), size);
        if (needed == 0)
            ThrowLastError(L"Не удалось раскрыть переменные окружения в имени файла");
        if (needed <= size) {
            buffer.resize(needed - 1);
            return buffer;
        }
        buffer.assign(needed, L'\0');
    }
}

std::wstring TemporaryFolder() {
    std::wstring folder = GrowingBuffer(
        MAX_PATH + 1, [](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); },
        L"Не удалось получить временную папку");
    if (!folder.ends_with(L'\\') && !folder.ends_with(L'/'))
        folder += L'\\';
    return folder;
}

std::string AnsiPath(const std::wstring& path) {
    if (std::optional<std::string> ansi = ExactAnsi(path))
        return *ansi;
    const std::wstring extended = ExtendedPath(path);
    std::wstring shortPath = GrowingBuffer(
        static_cast<DWORD>(extended.size()) + 1,
        [&](wchar_t* buffer, DWORD size) {
            return GetShortPathNameW(extended.c_str(), buffer, size);
        },
        L"Путь к файлу не представим в кодовой странице системы");
    if (shortPath.starts_with(L"\\\\?\\") && !shortPath.starts_with(L"\\\\?\\UNC\\"))
        shortPath.erase(0, 4);
    if (std::optional<std::string> ansi = ExactAnsi(shortPath))
        return *ansi;
    throw LibraryError(HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION),
                       L"Путь к файлу не представим в кодовой странице системы");
}

DWORD WriteScenarioFile(const std::wstring& path, const ScriptItemList& items) {
    return execution::WriteScenarioFile(path, [&](const execution::ScenarioFileSink& take) {
        return ForEachScenarioFilePiece(items, kWritePiece, take);
    });
}

void DeleteScenarioFile(const std::wstring& path) noexcept {
    try {
        DeleteFileW(ExtendedPath(path).c_str());
    } catch (...) {
        // The outcome of the deletion is ignored.
    }
}

std::optional<std::wstring> AskFileInDocuments(HWND owner, const DocumentsFileDialog& spec) {
    const std::wstring folder = execution::DocumentsFolder() + L"\\";
    std::vector<wchar_t> file(kLongestPath, L'\0');
    const std::wstring_view proposed = spec.fileName;
    std::copy(proposed.begin(), proposed.end(), file.begin());

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = spec.filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.c_str();
    dialog.lpstrDefExt = spec.extension;
    // No change of the host's current folder: a relative name it passes later stays its own.
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

std::optional<std::wstring> AskScenarioFile(HWND owner) {
    return execution::AskScenarioFile(owner, execution::ScenarioFileDialog::Save,
                                      execution::DocumentsFolder() + L"\\");
}

} // namespace kv
