#include "platform/guid_conversion.h"

#include "platform/barriers.h"

#include "text/guid_text.h"

#include <objbase.h>

#include <array>
#include <cstdint>
#include <cstring>

namespace kv {

GUID GuidFromText(std::wstring_view text) {
    // The platform's conversion also turns a null text into the null GUID and looks other
    // texts up as ProgIDs; neither is an identifier that a scenario meant.
    constexpr size_t BracedLength = 38;
    if (text.size() != BracedLength || text.front() != L'{' || text.back() != L'}')
        throw LibraryError(E_INVALIDARG, L"Неверный текст идентификатора: " + std::wstring(text));
    const std::wstring terminated(text);
    GUID guid;
    if (FAILED(CLSIDFromString(terminated.c_str(), &guid)))
        throw LibraryError(E_INVALIDARG, L"Неверный текст идентификатора: " + terminated);
    return guid;
}

std::string GuidText(const GUID& id) {
    std::string text;
    GuidTextInto(text, id);
    return text;
}

void GuidTextInto(std::string& text, const GUID& id) {
    std::array<std::uint8_t, 16> bytes;
    static_assert(sizeof(id) == bytes.size());
    std::memcpy(bytes.data(), &id, bytes.size());
    GuidTextInto(text, std::span<const std::uint8_t, 16>(bytes));
}

std::wstring WideGuidText(const GUID& id) {
    const std::string text = GuidText(id);
    return std::wstring(text.begin(), text.end()); // hexadecimal digits, braces and dashes only
}

} // namespace kv
