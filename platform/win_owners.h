// RAII owners of platform handles that the library opens: registry keys, files, loaded modules,
// memory the platform allocated for it, and windows.
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

// Owns a module loaded with LoadLibrary.
class LoadedModule {
public:
    explicit LoadedModule(HMODULE module = nullptr) noexcept : module_(module) {}
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    ~LoadedModule() { Reset(); }

    HMODULE Get() const noexcept { return module_; }
    explicit operator bool() const noexcept { return module_ != nullptr; }
    void Reset(HMODULE module = nullptr) noexcept {
        if (module_)
            FreeLibrary(module_);
        module_ = module;
    }

private:
    HMODULE module_;
};

// Owns memory that the platform allocated for the library with LocalAlloc (FormatMessage's
// buffer, for one).
class LocalMemory {
public:
    explicit LocalMemory(void* memory) noexcept : memory_(memory) {}
    LocalMemory(const LocalMemory&) = delete;
    LocalMemory& operator=(const LocalMemory&) = delete;
    ~LocalMemory() { LocalFree(memory_); }

private:
    void* memory_;
};

// Owns a window; its child windows go with it.
class WindowOwner {
public:
    explicit WindowOwner(HWND window = nullptr) noexcept : window_(window) {}
    WindowOwner(const WindowOwner&) = delete;
    WindowOwner& operator=(const WindowOwner&) = delete;
    ~WindowOwner() { Reset(); }

    HWND Get() const noexcept { return window_; }
    explicit operator bool() const noexcept { return window_ != nullptr; }
    void Reset(HWND window = nullptr) noexcept {
        if (window_)
            DestroyWindow(window_);
        window_ = window;
    }

private:
    HWND window_;
};

} // namespace kv
