// Texts from the model kernel (wide strings, variants) as 8-bit text in the process's
// ANSI code page, ready for the scenario templates.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "platform/text_conversion.h"

#include <string>
#include <string_view>

namespace kv {

// The rules of text_conversion.h, for the kernel's BSTRs and VARIANTs.

// The value converted to text by the platform's variant rules (VariantChangeType to VT_BSTR, a
// variant by reference followed); empty and null give "". A value with no text form throws
// std::system_error carrying the HRESULT.
std::wstring VariantText(const VARIANT& value);

// Scenario text. The whole BSTR, embedded null characters included; a null BSTR is "". Refused as above.
std::string ScenarioAnsiFromBstr(BSTR text);

// The value converted to text by the platform's variant rules (VariantChangeType to VT_BSTR);
// empty and null give "". Refused as above. A value with no text form throws std::system_error
// carrying the HRESULT.
std::string ScenarioVariantText(const VARIANT& value);

} // namespace kv
