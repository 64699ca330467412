#include "platform/com_owners.h"

#include "platform/barriers.h"

namespace kv {

Bstr::Bstr(std::wstring_view text) : value_(AllocateBstr(text)) {}

Bstr& Bstr::operator=(Bstr&& other) noexcept {
    if (this != &other) {
        SysFreeString(value_);
        value_ = other.Detach();
    }
    return *this;
}

BSTR* Bstr::Out() noexcept {
    SysFreeString(value_);
    value_ = nullptr;
    return &value_;
}

BSTR Bstr::Detach() noexcept {
    BSTR value = value_;
    value_ = nullptr;
    return value;
}

VARIANT* Variant::Out() noexcept {
    VariantClear(&value_);
    return &value_;
}

BSTR AllocateBstr(std::wstring_view text) {
    BSTR value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!value)
        throw LibraryError(E_OUTOFMEMORY, L"Недостаточно памяти");
    return value;
}

} // namespace kv
