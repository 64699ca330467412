// RAII owners of platform handles that the library opens: registry keys and files.
#pragma once

#include <windows.h>

namespace kv {

// Owns an open registry key.
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() {
        if (key_)
            RegCloseKey(key_);
    }

    HKEY Get() const noexcept { return key_; }
    HKEY* Out() noexcept;
    explicit operator bool() const noexcept { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};

inline HKEY* RegistryKey::Out() noexcept {
    if (key_)
        RegCloseKey(key_);
    key_ = nullptr;
    return &key_;
}

// Owns a file handle (INVALID_HANDLE_VALUE when none).
class FileHandle {
public:
    explicit FileHandle(HANDLE file = INVALID_HANDLE_VALUE) noexcept : file_(file) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Reset(); }

    HANDLE Get() const noexcept { return file_; }
    explicit operator bool() const noexcept { return file_ != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE file = INVALID_HANDLE_VALUE) noexcept {
        if (file_ != INVALID_HANDLE_VALUE)
            CloseHandle(file_);
        file_ = file;
    }
    // Gives the handle up, so that its closing can be checked.
    HANDLE Release() noexcept {
        const HANDLE file = file_;
        file_ = INVALID_HANDLE_VALUE;
        return file;
    }

private:
    HANDLE file_;
};

} // namespace kv
