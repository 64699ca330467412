// RAII owners of platform handles that the library opens: registry keys, files, loaded modules,
// windows, and memory the platform allocated for it or that it hands to the platform.
#pragma once

#include <windows.h>

#include <utility>

namespace kv {

// Owns one handle of a kind. Kind gives the handle's type, the value that means "none" and how
// a handle is given back to the platform.
template <class Kind> class HandleOwner {
public:
    using Handle = typename Kind::Handle;

    explicit HandleOwner(Handle handle = Kind::None()) noexcept : handle_(handle) {}
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;
    ~HandleOwner() { Reset(); }

    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Kind::None(); }
    void Reset(Handle handle = Kind::None()) noexcept {
        if (handle_ != Kind::None())
            Kind::Free(handle_);
        handle_ = handle;
    }
    // For a platform call that opens into an out-parameter; an open handle is freed first.
    Handle* Out() noexcept {
        Reset();
        return &handle_;
    }
    // Gives the handle up, so that its closing can be checked.
    Handle Release() noexcept { return std::exchange(handle_, Kind::None()); }

private:
    Handle handle_;
};

struct RegistryKeyKind {
    using Handle = HKEY;
    static HKEY None() noexcept { return nullptr; }
    static void Free(HKEY key) noexcept { RegCloseKey(key); }
};
using RegistryKey = HandleOwner<RegistryKeyKind>;

struct FileHandleKind {
    using Handle = HANDLE;
    static HANDLE None() noexcept { return INVALID_HANDLE_VALUE; }
    static void Free(HANDLE file) noexcept { CloseHandle(file); }
};
using FileHandle = HandleOwner<FileHandleKind>;

// A module loaded with LoadLibrary.
struct LoadedModuleKind {
    using Handle = HMODULE;
    static HMODULE None() noexcept { return nullptr; }
    static void Free(HMODULE module) noexcept { FreeLibrary(module); }
};
using LoadedModule = HandleOwner<LoadedModuleKind>;

// A window; its child windows go with it.
struct WindowKind {
    using Handle = HWND;
    static HWND None() noexcept { return nullptr; }
    static void Free(HWND window) noexcept { DestroyWindow(window); }
};
using WindowOwner = HandleOwner<WindowKind>;

// Memory that the platform allocated for the library with LocalAlloc (FormatMessage's buffer,
// for one).
struct LocalMemoryKind {
    using Handle = HLOCAL;
    static HLOCAL None() noexcept { return nullptr; }
    static void Free(HLOCAL memory) noexcept { LocalFree(memory); }
};
using LocalMemory = HandleOwner<LocalMemoryKind>;

// Movable global memory (GlobalAlloc), as the clipboard takes it; Release() hands it over.
struct GlobalMemoryKind {
    using Handle = HGLOBAL;
    static HGLOBAL None() noexcept { return nullptr; }
    static void Free(HGLOBAL memory) noexcept { GlobalFree(memory); }
};
using GlobalMemory = HandleOwner<GlobalMemoryKind>;

} // namespace kv
