// Changes the registration that names the kernel's library for one test and puts it back
// afterwards, whatever the test did.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

class KernelKeyOverride {
public:
    KernelKeyOverride();  // saves the current value
    ~KernelKeyOverride(); // restores it
    KernelKeyOverride(const KernelKeyOverride&) = delete;
    KernelKeyOverride& operator=(const KernelKeyOverride&) = delete;

    bool Saved() const { return saved_.has_value(); }
    void RemoveKey();
    void NameFile(const std::wstring& path);
    void SetNumber(DWORD number); // a value of the wrong type

private:
    std::optional<std::wstring> saved_;
};
