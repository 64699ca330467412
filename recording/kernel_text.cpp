#include "recording/kernel_text.h"

#include <oleauto.h>
#include <combaseapi.h>

#include <climits>
#include <stdexcept>
#include <system_error>

namespace kv {
namespace {

[[noreturn]] void ThrowHresult(HRESULT hr, const char* what) {
    throw std::system_error(static_cast<int>(hr), std::system_category(), what);
}

// Owns a VARIANT for the length of a conversion.
class VariantOwner {
public:
    VariantOwner() { VariantInit(&value_); }
    ~VariantOwner() { VariantClear(&value_); }
    VariantOwner(const VariantOwner&) = delete;
    VariantOwner& operator=(const VariantOwner&) = delete;
    VARIANT* get() { return &value_; }

private:
    VARIANT value_;
};

} // namespace

std::string AnsiFromWide(std::wstring_view text) {
    if (text.empty())
        return {};
    if (text.size() > INT_MAX / 4)
        throw std::length_error("AnsiFromWide: text too long");
    const int wideLength = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wideLength,
                                         nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        ThrowHresult(HRESULT_FROM_WIN32(GetLastError()), "WideCharToMultiByte");
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wideLength, result.data(), size,
                        nullptr, nullptr);
    return result;
}

std::string AnsiFromBstr(BSTR text) {
    return text ? AnsiFromWide(std::wstring_view(text, SysStringLen(text))) : std::string();
}

std::string VariantText(const VARIANT& value) {
    const VARTYPE type = V_VT(&value);
    if (type == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(&value))
        return VariantText(*V_VARIANTREF(&value));
    if (type == VT_EMPTY || type == VT_NULL)
        return {};
    if (type == VT_BSTR)
        return AnsiFromBstr(V_BSTR(&value));
    VariantOwner text;
    const HRESULT hr = VariantChangeType(text.get(), const_cast<VARIANT*>(&value), 0, VT_BSTR);
    if (FAILED(hr))
        ThrowHresult(hr, "VariantChangeType");
    return AnsiFromBstr(V_BSTR(text.get()));
}

std::string GuidText(const GUID& id) {
    wchar_t text[40] = {};
    if (StringFromGUID2(id, text, 40) == 0)
        ThrowHresult(E_UNEXPECTED, "StringFromGUID2");
    return AnsiFromWide(text);
}

} // namespace kv
