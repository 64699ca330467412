#include "recording/spill_file.h"

#include "platform/barriers.h"
#include "platform/file_bytes.h"
#include "platform/paths.h"
#include "platform/system_error_text.h"

#include <charconv>
#include <string>
#include <string_view>

namespace kv {
namespace {

constexpr std::size_t kDefaultThreshold = 4 * 1024 * 1024;
constexpr wchar_t kThresholdVariable[] = L"KV_SPILL_THRESHOLD";

} // namespace

SpillFile::~SpillFile() {
    file_.Reset();
    if (!path_.empty())
        DeleteFileW(path_.c_str());
}

void SpillFile::Append(std::string_view bytes) {
    Open();
    if (const DWORD error = WriteBytes(file_.Get(), bytes))
        ThrowWriteError(error);
}

DWORD SpillFile::WriteBytes(HANDLE file, std::string_view bytes) {
    return WriteAllBytes(file, bytes);
}

void SpillFile::Truncate(std::uint64_t size) {
    if (path_.empty() && size == 0)
        return; // never created: nothing to cut
    Open();
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(file_.Get(), at, nullptr, FILE_BEGIN) || !SetEndOfFile(file_.Get()))
        ThrowWriteError(LastErrorOr(ERROR_WRITE_FAULT));
}

DWORD SpillFile::MoveTo(const std::wstring& target) {
    // A path the platform cannot make whole is reported like any other failed write.
    std::wstring to;
    if (const DWORD error = ExtendedPathOrError(target, to))
        return error;
    if (path_.empty())
        Open(); // a spill store that was cut back to nothing before its file was made
    if (file_ && !CloseHandle(file_.Release()))
        return LastErrorOr(ERROR_WRITE_FAULT);
    if (MoveFileExW(path_.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        path_.clear();
        return 0;
    }
    const DWORD error = LastErrorOr(ERROR_WRITE_FAULT);
    if (error != ERROR_NOT_SAME_DEVICE)
        return error;
    if (!CopyFileW(path_.c_str(), to.c_str(), FALSE))
        return LastErrorOr(ERROR_WRITE_FAULT);
    return 0;
}

void SpillFile::Open() {
    if (file_)
        return;
    if (!path_.empty()) {
        file_.Reset(CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER none{};
        if (!file_ || !SetFilePointerEx(file_.Get(), none, nullptr, FILE_END))
            ThrowWriteError(LastErrorOr(ERROR_OPEN_FAILED));
        return;
    }
    const std::wstring stem =
        TemporaryFolder() + L"~kvscenario" + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (int attempt = 0;; ++attempt) {
        const std::wstring path = ExtendedPath(stem + std::to_wstring(attempt) + L".tmp");
        file_.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file_) {
            path_ = path;
            return;
        }
        const DWORD error = LastErrorOr(ERROR_OPEN_FAILED);
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 1000)
            throw LibraryError(HRESULT_FROM_WIN32(error),
                               L"Не удалось создать временный файл сценария " + path + L": " +
                                   SystemErrorText(HRESULT_FROM_WIN32(error)));
    }
}

void SpillFile::ThrowWriteError(DWORD error) const {
    throw LibraryError(HRESULT_FROM_WIN32(error), L"Не удалось записать временный файл сценария " +
                                                      path_ + L": " +
                                                      SystemErrorText(HRESULT_FROM_WIN32(error)));
}

std::size_t SpillThreshold() {
    wchar_t text[32];
    const DWORD length = GetEnvironmentVariableW(kThresholdVariable, text, 32);
    if (length == 0 || length >= 32)
        return kDefaultThreshold;
    std::string digits;
    for (const wchar_t character : std::wstring_view(text, length)) {
        if (character > 0x7F)
            return kDefaultThreshold; // a number is ASCII digits
        digits += static_cast<char>(character);
    }
    std::size_t threshold = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), threshold);
    if (error != std::errc() || end != digits.data() + digits.size())
        return kDefaultThreshold;
    return threshold;
}

} // namespace kv
