#include "platform/paths.h"

#include "platform/barriers.h"
#include "platform/system_error_text.h"

#include <shlobj.h>

#include <optional>

namespace kv {
namespace {

// The extended form is used a little below the classic limit: a folder path must leave room
// for an 8.3 name inside it.
constexpr std::size_t kClassicLimit = MAX_PATH - 12;

[[noreturn]] void ThrowLastError(const std::wstring& what) {
    const HRESULT hr = HRESULT_FROM_WIN32(LastErrorOr(ERROR_GEN_FAILURE));
    throw LibraryError(hr, what + L": " + SystemErrorText(hr));
}

// Calls a platform function that fills a buffer and, when it is too small, answers the size it
// needs (the terminating zero included); 0 is an error.
template <class Fill>
std::wstring GrowingBuffer(DWORD firstSize, Fill fill, const std::wstring& what) {
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

bool IsExtended(const std::wstring& path) {
    return path.starts_with(L"\\\\?\\");
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

std::wstring FullPath(const std::wstring& path) {
    if (path.empty() || IsExtended(path))
        return path;
    return GrowingBuffer(
        static_cast<DWORD>(path.size()) + MAX_PATH,
        [&](wchar_t* buffer, DWORD size) {
            return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
        },
        L"Не удалось получить полный путь к файлу \"" + path + L"\"");
}

std::wstring ExtendedPath(const std::wstring& path) {
    if (path.empty() || IsExtended(path))
        return path;
    const std::wstring full = FullPath(path);
    if (full.size() < kClassicLimit)
        return path;
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

DWORD ExtendedPathOrError(const std::wstring& path, std::wstring& extended) {
    try {
        extended = ExtendedPath(path);
        return 0;
    } catch (const LibraryError& error) {
        return HRESULT_FACILITY(error.Code()) == FACILITY_WIN32 ? HRESULT_CODE(error.Code())
                                                                : ERROR_BAD_PATHNAME;
    }
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

std::wstring DocumentsFolder(HWND owner) {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(owner, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, folder)) ||
        folder[0] == L'\0')
        return {};
    std::wstring path = folder;
    if (!path.ends_with(L'\\'))
        path += L'\\';
    return path;
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
    if (IsExtended(shortPath) && !shortPath.starts_with(L"\\\\?\\UNC\\"))
        shortPath.erase(0, 4);
    if (std::optional<std::string> ansi = ExactAnsi(shortPath))
        return *ansi;
    throw LibraryError(HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION),
                       L"Путь к файлу не представим в кодовой странице системы");
}

} // namespace kv
