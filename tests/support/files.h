// The tests' own look at files the library wrote: paths of any length, in wide characters.
#pragma once

#include <string>
#include <vector>

namespace kvtest {

// The bytes of the file; "" when there is none (tests that expect a file say so themselves).
std::string FileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
// Makes or replaces the file with the bytes; a failure of the running test when it cannot.
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The names of the files (not folders) in a folder, sorted.
std::vector<std::wstring> FileNamesIn(const std::wstring& folder);

// A file held open without sharing: nobody else can read or write it meanwhile. A failure of the
// running test when the file cannot be held.
class LockedFile {
public:
    explicit LockedFile(const std::wstring& path);
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    ~LockedFile();

private:
    void* file_; // a HANDLE
};

} // namespace kvtest
