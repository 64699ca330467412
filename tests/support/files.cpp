#include "support/files.h"

#include "support/wide_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace kvtest {

std::string FileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(Extended(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char chunk[64 * 1024];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot write " << Narrow(path);
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    EXPECT_TRUE(ok && written == bytes.size()) << "cannot write " << Narrow(path);
}

std::vector<std::wstring> FileNamesIn(const std::wstring& folder) {
    std::wstring pattern = folder;
    if (pattern.empty() || pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L'*';
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Extended(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

LockedFile::LockedFile(const std::wstring& path)
    : file_(CreateFileW(Extended(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (file_ == INVALID_HANDLE_VALUE)
        ADD_FAILURE() << "cannot hold " << ::testing::PrintToString(path);
}

LockedFile::~LockedFile() {
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
}

} // namespace kvtest
