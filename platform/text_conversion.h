// Conversions between the library's 8-bit texts (process ANSI code page) and wide texts.
#pragma once

#include <string>
#include <string_view>

namespace kv {

// 8-bit text in the process ANSI code page (1251 on the target machines) to wide text.
std::wstring WideFromAnsi(std::string_view text);
// What a conversion to the ANSI code page does with a character that the code page lacks. Every
// caller names its rule: text only shown to a reader is replaced, scenario text is refused
// (a replay would otherwise create or look for another name and still report success).
enum class Unrepresentable {
    Refuse,  // a LibraryError names the text and the character
    Replace, // "?" for each such UTF-16 code unit; never a best-fit look-alike
    Report,  // only the answer false: the caller takes another way, the result is not for use
};

// Wide text to the process ANSI code page, into `result` (its storage is reused). Answers
// whether the code page had every character (with Replace, false means "?" stands in; with
// Report, that the result is incomplete).
bool AnsiInto(std::string& result, std::wstring_view text, Unrepresentable rule);

// Whether the ANSI code page has the UTF-16 code unit as a character of its own; never for a
// surrogate, so that a character outside the BMP is handled one code unit at a time.
bool InAnsiCodePage(wchar_t unit);

// Shown text (messages, logs, comment lines, reports): replaced as above.
std::string ShownAnsiFromWide(std::wstring_view text);
// Scenario text: refused as above.
std::string ScenarioAnsiFromWide(std::wstring_view text);
// UTF-8 text (the library's own captions in source form) to wide text.
std::wstring WideFromUtf8(std::string_view text);

} // namespace kv
