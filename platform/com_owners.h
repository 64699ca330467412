// RAII owners of automation values. An out-parameter is filled through Out(), which frees the
// previous value first, so nothing leaks on an early return.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

namespace kv {

// Owns one BSTR.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::wstring_view text);
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : value_(other.Detach()) {}
    Bstr& operator=(Bstr&& other) noexcept;
    ~Bstr() { SysFreeString(value_); }

    BSTR Get() const noexcept { return value_; }
    BSTR* Out() noexcept;
    // Hands the string to a caller that frees it (an [out] parameter).
    BSTR Detach() noexcept;
    std::wstring_view View() const noexcept { return {value_, SysStringLen(value_)}; }

private:
    BSTR value_ = nullptr;
};

// Owns one VARIANT.
class Variant {
public:
    Variant() noexcept { VariantInit(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&value_); }

    VARIANT* Get() noexcept { return &value_; }
    VARIANT* Out() noexcept;

private:
    VARIANT value_;
};

// A fresh BSTR for an [out, retval] text; throws on allocation failure.
BSTR AllocateBstr(std::wstring_view text);

} // namespace kv
