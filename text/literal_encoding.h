// Turning values into VBScript text for the placeholders of the scenario templates. All texts
// are 8-bit text in the ANSI code page; the functions work on bytes and know no code page.
#pragma once

#include "text/char_set.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// The value unchanged: "%d" of a 32-bit signed integer, for types, rights and coordinates.
std::string IntegerText(std::int32_t value);

// "true" for any non-zero kernel boolean, "false" for zero.
std::string BoolLiteral(int kernelBoolean);

// A complete VBScript string expression that evaluates to the text, every line break (CR LF,
// lone CR, lone LF) becoming CR LF: "a"&Chr(13)&Chr(10)&"b". For attribute function code.
std::string CodeLiteral(std::string_view text);

// The inside of a string literal whose quotes the template supplies: quotes doubled, every line
// break becoming "&Chr(13)&Chr(10)&" (CR LF). For the text of a global module.
std::string ModuleLiteral(std::string_view text);

// The characters that PlainTextInLiteral and PlainTextInComment change: text without any of
// them is written as it is.
inline constexpr CharSet kChangedInLiteral("\"\r\n");
inline constexpr CharSet kChangedInComment("\r\n");

// Plain text (a name, caption, group...) inside a string literal of a template. Text without a
// double quote or line break is unchanged. A double quote is doubled and every run of CR and LF
// is spliced in as Chr() calls ("a"&Chr(10)&"b"), character for character, so the literal can
// never be left and the scenario recreates exactly that text.
std::string PlainTextInLiteral(std::string_view text);

// Plain text inside a comment line of a template. Text without a line break is unchanged; a CR
// or LF is shown as the two characters \r or \n, so the text cannot end the comment and
// continue as a statement.
std::string PlainTextInComment(std::string_view text);

// Names and values of attribute properties, written inside string literals: every double quote
// doubled. Line breaks are kept as PlainTextInLiteral does, since a raw one would end the
// literal; text without line breaks gets exactly the doubled quotes.
std::string QuoteDoubled(std::string_view text);

} // namespace kv
