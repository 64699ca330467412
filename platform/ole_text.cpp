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
    // A text is converted where it lies; any other value through its text form.
    if (V_VT(&value) == VT_BSTR)
        return ToAnsi(BstrView(V_BSTR(&value)), Unrepresentable::Refuse);
    return ToAnsi(VariantText(value), Unrepresentable::Refuse);
}

} // namespace kv
