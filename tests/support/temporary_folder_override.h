// TMP pointed at a folder of the test's own while the object lives, so that the platform's
// temporary folder of this process is one no other test process writes into; the previous
// value comes back afterwards. The library, loaded in this process, finds the same folder.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

class TemporaryFolderOverride {
public:
    explicit TemporaryFolderOverride(const std::wstring& folder) {
        wchar_t saved[32768];
        const DWORD length = GetEnvironmentVariableW(L"TMP", saved, 32768);
        if (length > 0 && length < 32768)
            saved_ = std::wstring(saved, length);
        SetEnvironmentVariableW(L"TMP", folder.c_str());
    }
    ~TemporaryFolderOverride() {
        SetEnvironmentVariableW(L"TMP", saved_ ? saved_->c_str() : nullptr);
    }
    TemporaryFolderOverride(const TemporaryFolderOverride&) = delete;
    TemporaryFolderOverride& operator=(const TemporaryFolderOverride&) = delete;

private:
    std::optional<std::wstring> saved_;
};
