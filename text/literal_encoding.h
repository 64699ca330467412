// Turning values into VBScript text for the placeholders of the scenario templates. A scenario is
// 8-bit text in the ANSI code page. The byte functions work on text already in that code page;
// the wide functions work on the kernel's UTF-16 texts and write every code unit that the code
// page lacks so that the scenario still recreates the exact text: as ChrW(n) inside a string
// literal, as "?" in a comment. Neither knows a code page: the wide ones are told which code
// units it has.
#pragma once

#include "text/char_set.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

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

// A name as a fragment places it: inside the string literals of its statements and on its comment
// lines. Made from text already in the code page, or by the platform from a kernel's wide text.
struct PlacedName {
    std::string literal;
    std::string comment;

    PlacedName() = default;
    PlacedName(std::string literalForm, std::string commentForm)
        : literal(std::move(literalForm)), comment(std::move(commentForm)) {}
    PlacedName(std::string_view text)
        : literal(PlainTextInLiteral(text)), comment(PlainTextInComment(text)) {}
    PlacedName(const char* text) : PlacedName(std::string_view(text)) {}
};

// Whether the scenario's code page has a UTF-16 code unit as a character of its own. A
// surrogate never is: a character outside the BMP is written one code unit at a time.
using InCodePage = bool (*)(wchar_t unit);

// The wide forms of the encodings above, for a text that holds code units the code page lacks.
// Each element of the text is one UTF-16 code unit. The result holds only code units that the
// code page has: inside a literal every other one is spliced in as ChrW(n), n the code unit in
// decimal, joined with "&" like the line breaks ("мм"&ChrW(178)&""); a comment shows "?" for
// each. Text that needs none of this comes out as the byte forms would write it.
std::wstring CodeLiteral(std::wstring_view text, InCodePage inCodePage);
std::wstring ModuleLiteral(std::wstring_view text, InCodePage inCodePage);
std::wstring PlainTextInLiteral(std::wstring_view text, InCodePage inCodePage);
std::wstring PlainTextInComment(std::wstring_view text, InCodePage inCodePage);

} // namespace kv
