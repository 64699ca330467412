#include "platform/guid_conversion.h"

#include "platform/barriers.h"

#include <objbase.h>

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

std::wstring GuidText(const GUID& guid) {
    wchar_t text[39];
    StringFromGUID2(guid, text, 39);
    return text;
}
