// GUIDs and their registry text form ("{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kv {

// The braced text form only; anything else (an empty text, a ProgID) raises E_INVALIDARG.
GUID GuidFromText(std::wstring_view text);

// 38 characters, braces, upper-case hexadecimal digits, as StringFromGUID2 writes them
// (formatted here, without the platform's round trip through a wide string).
std::string GuidText(const GUID& id);
// The same put into an existing string, reusing its storage.
void GuidTextInto(std::string& text, const GUID& id);
// The same as wide text, for the registry.
std::wstring WideGuidText(const GUID& id);

} // namespace kv
