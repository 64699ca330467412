#include "recording/kernel_text.h"

#include "recording/guid_text.h"

#include <oleauto.h>
#include <combaseapi.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
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

// The most bytes the ANSI code page writes for one UTF-16 unit (2 for a double-byte code page).
int LongestAnsiCharacter() {
    static const int longest = [] {
        CPINFO info = {};
        return GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 0 ? static_cast<int>(info.MaxCharSize)
                                                                : 0;
    }();
    return longest;
}

} // namespace

std::string AnsiFromWide(std::wstring_view text) {
    if (text.empty())
        return {};
    if (text.size() > INT_MAX / 4)
        throw std::length_error("AnsiFromWide: text too long");
    const int wideLength = static_cast<int>(text.size());
    // One conversion into room for the longest result; asking for the size first only where
    // the code page's longest character is unknown.
    int size = wideLength * LongestAnsiCharacter();
    if (size == 0)
        size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wideLength, nullptr,
                                   0, nullptr, nullptr);
    if (size <= 0)
        ThrowHresult(HRESULT_FROM_WIN32(GetLastError()), "WideCharToMultiByte");
    std::string result(static_cast<std::size_t>(size), '\0');
    const int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wideLength,
                                            result.data(), size, nullptr, nullptr);
    if (written <= 0)
        ThrowHresult(HRESULT_FROM_WIN32(GetLastError()), "WideCharToMultiByte");
    result.resize(static_cast<std::size_t>(written));
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
    std::array<std::uint8_t, 16> bytes;
    static_assert(sizeof(id) == bytes.size());
    std::memcpy(bytes.data(), &id, bytes.size());
    return GuidText(std::span<const std::uint8_t, 16>(bytes));
}

} // namespace kv
