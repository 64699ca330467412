// Model texts (names, comments, property values) placed in the structure page. A text without
// special characters comes out unchanged, so a page of plain names is exactly the page's fixed
// form; a text with them can neither open a tag nor leave the attribute value it stands in.
// Works on bytes of any code page whose bytes below 0x80 are ASCII; a character that the code page
// lacks becomes a numeric character reference. Pure: no Windows header.
#pragma once

#include "export/structure_contents.h"
#include "text/script_format.h"

#include <string>
#include <string_view>

namespace kv::html {

// For element content: "&", "<", ">" and the double quote become character references.
std::string EscapeText(std::string_view text);

// For an attribute value written without quotes (the page's "name=%s" and "href=#%s"): also
// everything that ends or breaks such a value (white space, quotes, "=", "`") becomes a
// character reference, which the browser decodes back into the value.
std::string EscapeUnquotedAttribute(std::string_view text);

// The same, viewing the text itself when nothing in it needs a reference.
EncodedText EscapedText(std::string_view text);
EncodedText EscapedUnquotedAttribute(std::string_view text);

// A model text: its bytes escaped as above, each character the code page lacks as "&#n;" (n the
// code point in decimal).
std::string EscapeText(const ModelText& text);
EncodedText EscapedText(const ModelText& text);
EncodedText EscapedUnquotedAttribute(const ModelText& text);

} // namespace kv::html
