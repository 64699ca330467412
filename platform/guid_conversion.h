// GUIDs and their registry text form ("{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The braced text form only; anything else (an empty text, a ProgID) raises E_INVALIDARG.
GUID GuidFromText(std::wstring_view text);
// 38 characters, braces, upper-case hexadecimal digits.
std::wstring GuidText(const GUID& guid);
