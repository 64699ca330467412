#include "export/page_file.h"

#include "platform/barriers.h"
#include "platform/file_bytes.h"
#include "platform/paths.h"
#include "platform/system_error_text.h"
#include "platform/win_owners.h"

#include <windows.h>

#include <string>

namespace kv::html {
namespace {

[[noreturn]] void ThrowWriteError(const std::wstring& path, DWORD error) {
    throw LibraryError(HRESULT_FROM_WIN32(error),
                       L"Не удалось записать файл \"" + path + L"\": " +
                           SystemErrorText(HRESULT_FROM_WIN32(error)));
}

// An open temporary file beside the target (given as a full path); closed and deleted unless
// committed. Both are reached through the extended-length form when they are long.
class TemporaryFile {
public:
    TemporaryFile(const std::wstring& target, const std::wstring& shown_path) {
        const std::wstring folder = target.substr(0, target.find_last_of(L'\\') + 1);
        const std::wstring stem =
            folder + L"~kvpage" + std::to_wstring(GetCurrentProcessId()) + L"-";
        for (int attempt = 0;; ++attempt) {
            path_ = ExtendedPath(stem + std::to_wstring(attempt) + L".tmp");
            handle_.Reset(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
            if (handle_)
                return;
            const DWORD error = GetLastError();
            if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 1000)
                ThrowWriteError(shown_path, error);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        handle_.Reset();
        if (!committed_)
            DeleteFileW(path_.c_str());
    }

    // Writes every byte; the system's error code, ERROR_SUCCESS when all went well.
    DWORD Write(std::string_view bytes) { return WriteAllBytes(handle_.Get(), bytes); }

    // Closes the file and puts it in the target's place; the system's error code.
    DWORD ReplaceTarget(const std::wstring& target) {
        if (!CloseHandle(handle_.Release()))
            return GetLastError();
        if (!MoveFileExW(path_.c_str(), ExtendedPath(target).c_str(), MOVEFILE_REPLACE_EXISTING))
            return GetLastError();
        committed_ = true;
        return ERROR_SUCCESS;
    }

private:
    std::wstring path_;
    FileHandle handle_;
    bool committed_ = false;
};

} // namespace

void WriteFileReplacing(const std::wstring& path, std::string_view bytes) {
    WriteFileReplacing(path, [bytes](const FileBytesSink& sink) { sink(bytes); });
}

void WriteFileReplacing(const std::wstring& path,
                        const std::function<void(const FileBytesSink&)>& write) {
    if (path.empty())
        throw LibraryError(E_INVALIDARG, L"Не задано имя файла");
    const std::wstring target = FullPath(path);
    TemporaryFile file(target, path);
    write([&](std::string_view bytes) {
        if (const DWORD error = file.Write(bytes))
            ThrowWriteError(path, error);
    });
    if (const DWORD error = file.ReplaceTarget(target))
        ThrowWriteError(path, error);
}

} // namespace kv::html
