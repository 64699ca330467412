// Texts from the model kernel (wide strings, variants, GUIDs) as 8-bit text in the process's
// ANSI code page, ready for the scenario templates.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <string_view>

namespace kv {

// Scenario text: CP_ACP, exactly. A character that the code page cannot represent would be
// written as the code page's default character, and a replay would then create or look for
// another name and still report success; such a text is refused with a LibraryError that
// names it and the character.
std::string AnsiFromWide(std::wstring_view text);

// The whole BSTR, embedded null characters included; a null BSTR is "". Refused as above.
std::string AnsiFromBstr(BSTR text);

// The value converted to text by the platform's variant rules (VariantChangeType to VT_BSTR);
// empty and null give "". Refused as above. A value with no text form throws std::system_error
// carrying the HRESULT.
std::string VariantText(const VARIANT& value);

// Text only shown to a reader (the HTML page, a comment line): a character that the code page
// cannot represent becomes its default character (no best-fit look-alikes).
std::string ShownAnsiFromBstr(BSTR text);
std::string ShownVariantText(const VARIANT& value);

// The registry form of the GUID, as StringFromGUID2 writes it (formatted here, without the
// platform's round trip through a wide string).
std::string GuidText(const GUID& id);

// The shown texts and the GUID's text put into an existing string, reusing its storage: for
// readers that fill the same entries over and over.
void ShownAnsiInto(std::string& text, BSTR value);
void ShownVariantTextInto(std::string& text, const VARIANT& value);
void GuidTextInto(std::string& text, const GUID& id);

} // namespace kv
