#include "execution/scenario_file.h"

#include "platform/barriers.h"
#include "platform/paths.h"
#include "platform/system_error_text.h"
#include "platform/text_conversion.h"
#include "platform/win_owners.h"

#include <windows.h>

#include <climits>
#include <memory>
#include <vector>

namespace kv::execution {

namespace {

[[noreturn]] void RaiseFileError(const std::wstring& path, DWORD error) {
    const HRESULT hr = HRESULT_FROM_WIN32(error);
    throw LibraryError(hr,
                       L"Не удалось прочитать файл сценария \"" + path + L"\": " + SystemErrorText(hr));
}

} // namespace

std::wstring ExpandFileName(std::string_view ansiName) {
    return ExpandEnvironment(WideFromAnsi(ansiName));
}

std::string ReadScenarioFile(const std::wstring& path) {
    HANDLE opened =
        CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
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
    // A path the platform cannot make whole is reported like any other failed write.
    std::wstring target;
    if (const DWORD error = ExtendedPathOrError(path, target))
        return error;
    FileHandle file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr,
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
