#include "scenario_file.h"

#include "platform/barriers.h"
#include "platform/text_conversion.h"
#include "platform/win_owners.h"
#include "platform/system_error_text.h"

#include <windows.h>

#include <climits>
#include <memory>
#include <vector>

namespace kv::execution {

namespace {

DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = GetLastError();
    return error != 0 ? error : fallback;
}

[[noreturn]] void RaiseFileError(const std::wstring& path, DWORD error) {
    const HRESULT hr = HRESULT_FROM_WIN32(error);
    throw LibraryError(hr,
                       L"Не удалось прочитать файл сценария \"" + path + L"\": " + SystemText(hr));
}

// Long paths are opened through the extended-length form, which has no 260-character limit
// but is taken literally, so it is made from the full, normalised path.
std::wstring OpenablePath(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.starts_with(L"\\\\?\\"))
        return path;
    DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::vector<wchar_t> full;
    DWORD written = 0;
    while (needed != 0) {
        full.assign(needed, L'\0');
        written = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
        if (written < needed)
            break;
        needed = written;
    }
    if (needed == 0 || written == 0)
        RaiseFileError(path, GetLastError());
    std::wstring fullPath(full.data(), written);
    if (fullPath.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + fullPath.substr(2);
    return L"\\\\?\\" + fullPath;
}

} // namespace

std::wstring ExpandFileName(std::string_view ansiName) {
    const std::wstring name = WideFromAnsi(ansiName);
    DWORD capacity = static_cast<DWORD>(name.size()) + 1;
    for (;;) {
        std::vector<wchar_t> buffer(capacity, L'\0');
        const DWORD needed = ExpandEnvironmentStringsW(name.c_str(), buffer.data(), capacity);
        if (needed == 0) {
            const HRESULT hr = HRESULT_FROM_WIN32(GetLastError());
            throw LibraryError(hr, L"Не удалось раскрыть имя файла сценария \"" + name + L"\": " +
                                       SystemText(hr));
        }
        // The count includes the terminating zero; a larger count asks for a larger buffer.
        if (needed <= capacity)
            return std::wstring(buffer.data(), needed - 1);
        capacity = needed;
    }
}

std::string ReadScenarioFile(const std::wstring& path) {
    HANDLE opened =
        CreateFileW(OpenablePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        RaiseFileError(path, GetLastError());
    const FileHandle file(opened);
    std::string bytes;
    char chunk[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr))
            RaiseFileError(path, GetLastError());
        if (read == 0)
            return bytes;
        bytes.append(chunk, read);
    }
}

unsigned long WriteScenarioFile(const std::wstring& path, const ScenarioFilePieces& pieces) {
    FileHandle file(CreateFileW(OpenablePath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return LastErrorOr(ERROR_OPEN_FAILED);
    DWORD error = 0;
    pieces([&](std::string_view piece) {
        DWORD written = 0;
        if (piece.size() > MAXDWORD)
            error = ERROR_FILE_TOO_LARGE;
        else if (!WriteFile(file.Get(), piece.data(), static_cast<DWORD>(piece.size()), &written,
                            nullptr))
            error = LastErrorOr(ERROR_WRITE_FAULT);
        else if (written != piece.size())
            error = ERROR_WRITE_FAULT;
        return error == 0;
    });
    if (error)
        return error;
    if (!CloseHandle(file.Release()))
        return LastErrorOr(ERROR_WRITE_FAULT);
    return 0;
}

unsigned long WriteScenarioFile(const std::wstring& path, std::string_view bytes) {
    return WriteScenarioFile(path, [bytes](const ScenarioFileSink& take) { return take(bytes); });
}

} // namespace kv::execution
