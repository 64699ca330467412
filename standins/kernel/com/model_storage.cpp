#include "com/model_storage.h"

#include "com/com_support.h"
#include "com/server_store_folder.h"

#include <utility>

namespace zk::com {

namespace {

// Owns a file handle.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Close() { CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)); }

private:
    HANDLE handle_;
};

std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = length ? Utf8(text, length) : "error " + std::to_string(error);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message;
}

[[noreturn]] void FailFile(const char* what, const std::wstring& path) {
    DWORD error = GetLastError();
    ThrowHr(HRESULT_FROM_WIN32(error), std::string(what) + " '" + Utf8(path.data(), path.size()) +
                                           "': " + SystemMessage(error));
}

} // namespace

std::string ReadWholeFile(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        FailFile("cannot open the structure file", path);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        FailFile("cannot read the structure file", path);
    constexpr LONGLONG kLargest = 1LL << 30;
    if (size.QuadPart > kLargest)
        ThrowHr(E_OUTOFMEMORY,
                "the structure file '" + Utf8(path.data(), path.size()) + "' is larger than 1 GiB");
    std::string data(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < data.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), data.data() + done, static_cast<DWORD>(data.size() - done), &read,
                      nullptr))
            FailFile("cannot read the structure file", path);
        if (read == 0)
            break;
        done += read;
    }
    data.resize(done);
    return data;
}

void WriteWholeFile(const std::wstring& path, std::string_view data) {
    std::wstring temporary = path + L".saving";
    FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        FailFile("cannot create the structure file", temporary);
    std::size_t done = 0;
    while (done < data.size()) {
        DWORD written = 0;
        if (!WriteFile(file.get(), data.data() + done, static_cast<DWORD>(data.size() - done),
                       &written, nullptr)) {
            DWORD error = GetLastError();
            file.Close();
            DeleteFileW(temporary.c_str());
            SetLastError(error);
            FailFile("cannot write the structure file", temporary);
        }
        done += written;
    }
    file.Close();
    if (!MoveFileExW(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        SetLastError(error);
        FailFile("cannot store the structure file", path);
    }
}

std::wstring ServerStorePath(std::wstring_view name) {
    if (name.empty() || name == L"." || name == L".." ||
        name.find_first_of(L"\\/:") != std::wstring_view::npos)
        ThrowHr(E_INVALIDARG, "'" + Utf8(name.data(), name.size()) +
                                  "' is not the name of a server structure (a plain file name)");
    std::wstring folder = ServerStoreFolder();
    if (folder.empty())
        ThrowHr(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND),
                "no server store is set up: set ZKERNEL_SERVER_STORE or the registry value "
                "HKLM\\Software\\zkernel\\ServerStore to its folder");
    if (folder.back() != L'\\' && folder.back() != L'/')
        folder += L'\\';
    return folder + std::wstring(name);
}

std::wstring FileNameOf(std::wstring_view path) {
    auto slash = path.find_last_of(L"\\/");
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

} // namespace zk::com
