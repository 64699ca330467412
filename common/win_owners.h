// RAII owners of platform handles that the library opens: registry keys and loaded modules.
#pragma once

#include <windows.h>

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
