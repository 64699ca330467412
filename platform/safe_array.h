// Owner of one SAFEARRAY, destroyed (its elements released) on scope exit.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace kv {

class SafeArray {
public:
    explicit SafeArray(SAFEARRAY* array) noexcept : value_(array) {}
    SafeArray(const SafeArray&) = delete;
    SafeArray& operator=(const SafeArray&) = delete;
    ~SafeArray() {
        if (value_)
            SafeArrayDestroy(value_);
    }

    SAFEARRAY* Get() const noexcept { return value_; }
    // The address a callee takes for an array passed by reference.
    SAFEARRAY** Address() noexcept { return &value_; }

private:
    SAFEARRAY* value_;
};

} // namespace kv
