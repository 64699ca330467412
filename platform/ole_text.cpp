#include "platform/ole_text.h"

#include "platform/barriers.h"
#include "platform/com_owners.h"
#include "platform/text_conversion.h"

#include <oleauto.h>
#include <combaseapi.h>

#include <cwchar>
#include <stdexcept>
#include <system_error>

namespace kv {
namespace {

[[noreturn]] void ThrowHresult(HRESULT hr, const char* what) {
    throw std::system_error(static_cast<int>(hr), std::system_category(), what);
}

std::wstring_view BstrView(BSTR text) {
    return text ? std::wstring_view(text, SysStringLen(text)) : std::wstring_view();
}

std::string ToAnsi(std::wstring_view text, Unrepresentable unrepresentable) {
    std::string result;
    AnsiInto(result, text, unrepresentable);
    return result;
}

// The value's text by the platform's variant rules, converted into `result`.
void VariantTextInto(std::string& result, const VARIANT& value, Unrepresentable unrepresentable) {
    const VARTYPE type = V_VT(&value);
    if (type == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(&value))
        return VariantTextInto(result, *V_VARIANTREF(&value), unrepresentable);
    if (type == VT_EMPTY || type == VT_NULL)
        return result.clear();
    if (type == VT_BSTR) {
        AnsiInto(result, BstrView(V_BSTR(&value)), unrepresentable);
        return;
    }
    AnsiInto(result, VariantText(value), unrepresentable);
}

} // namespace

std::wstring VariantText(const VARIANT& value) {
    const VARTYPE type = V_VT(&value);
    if (type == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(&value))
        return VariantText(*V_VARIANTREF(&value));
    if (type == VT_EMPTY || type == VT_NULL)
        return {};
    if (type == VT_BSTR)
        return std::wstring(BstrView(V_BSTR(&value)));
    Variant text;
    const HRESULT hr = VariantChangeType(text.Get(), const_cast<VARIANT*>(&value), 0, VT_BSTR);
    if (FAILED(hr))
        ThrowHresult(hr, "VariantChangeType");
    return std::wstring(BstrView(V_BSTR(text.Get())));
}

std::string ScenarioAnsiFromBstr(BSTR text) {
    return ToAnsi(BstrView(text), Unrepresentable::Refuse);
}

std::string ScenarioVariantText(const VARIANT& value) {
    std::string text;
    VariantTextInto(text, value, Unrepresentable::Refuse);
    return text;
}

} // namespace kv
