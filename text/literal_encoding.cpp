#include "text/literal_encoding.h"

#include <charconv>
#include <type_traits>

namespace kv {
namespace {

// One implementation for the byte texts (where the code page has every byte) and the wide texts
// (where the caller tells which code units it has).
template <class Char> using Text = std::basic_string_view<Char>;
template <class Char> using Result = std::basic_string<Char>;

constexpr std::string_view kLineBreakSplice = "\"&Chr(13)&Chr(10)&\"";

template <class Char> bool IsLineBreak(Char c) {
    return c == Char('\r') || c == Char('\n');
}

template <class Char> void AppendAscii(Result<Char>& result, std::string_view ascii) {
    result.append(ascii.begin(), ascii.end());
}

// "&Chr(13)", "&Chr(10)" or "&ChrW(n)": one code unit spliced into a string expression.
template <class Char> void AppendSplicedUnit(Result<Char>& result, Char unit) {
    if (unit == Char('\r')) {
        AppendAscii(result, "&Chr(13)");
    } else if (unit == Char('\n')) {
        AppendAscii(result, "&Chr(10)");
    } else {
        char digits[16];
        const auto code = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Char>>(unit));
        const auto end = std::to_chars(digits, digits + sizeof digits, code).ptr;
        AppendAscii(result, "&ChrW(");
        AppendAscii(result, std::string_view(digits, static_cast<std::size_t>(end - digits)));
        AppendAscii(result, ")");
    }
}

// Copies the text to `result` up to the next special code unit, a run at a time, and answers
// where that unit is (the text's size when there is none).
template <class Char, class IsSpecial>
std::size_t CopyRun(Result<Char>& result, Text<Char> text, std::size_t from, IsSpecial isSpecial) {
    std::size_t found = from;
    while (found < text.size() && !isSpecial(text[found]))
        ++found;
    result.append(text.substr(from, found - from));
    return found;
}

// Steps shared by CodeLiteral and ModuleLiteral: quotes doubled, then every line break (CR LF
// first, then a lone CR, then a lone LF) replaced by the splice, and every run of code units
// outside the code page spliced in as ChrW calls. One left-to-right pass gives the same result
// as the successive replacements, since none of them produces text that a later one matches.
template <class Char, class Outside>
Result<Char> QuotesDoubledLineBreaksSpliced(Text<Char> text, Outside outside) {
    const auto special = [&](Char c) { return c == Char('"') || IsLineBreak(c) || outside(c); };
    Result<Char> result;
    result.reserve(text.size() + 8);
    for (std::size_t i = CopyRun(result, text, 0, special); i < text.size();
         i = CopyRun(result, text, i + 1, special)) {
        const Char c = text[i];
        if (c == Char('"')) {
            AppendAscii(result, "\"\"");
        } else if (IsLineBreak(c)) {
            if (c == Char('\r') && i + 1 < text.size() && text[i + 1] == Char('\n'))
                ++i;
            AppendAscii(result, kLineBreakSplice);
        } else {
            result += Char('"');
            for (; i < text.size() && outside(text[i]); ++i)
                AppendSplicedUnit(result, text[i]);
            --i;
            AppendAscii(result, "&\"");
        }
    }
    return result;
}

template <class Char, class Outside> Result<Char> CodeLiteralOf(Text<Char> text, Outside outside) {
    Result<Char> result = QuotesDoubledLineBreaksSpliced(text, outside);
    // A leading or trailing splice would otherwise leave an empty string operand.
    if (result.size() >= 2 && result[0] == Char('"') && result[1] == Char('&'))
        result.erase(0, 2);
    else
        result.insert(result.begin(), Char('"'));
    const std::size_t size = result.size();
    if (size >= 2 && result[size - 1] == Char('"') && result[size - 2] == Char('&'))
        result.erase(size - 2);
    else
        result += Char('"');
    return result;
}

template <class Char, class Outside>
Result<Char> PlainTextInLiteralOf(Text<Char> text, Outside outside) {
    const auto spliced = [&](Char c) { return IsLineBreak(c) || outside(c); };
    const auto special = [&](Char c) { return c == Char('"') || spliced(c); };
    Result<Char> result;
    result.reserve(text.size() + 8);
    for (std::size_t i = CopyRun(result, text, 0, special); i < text.size();
         i = CopyRun(result, text, i + 1, special)) {
        if (text[i] == Char('"')) {
            AppendAscii(result, "\"\"");
            continue;
        }
        result += Char('"');
        for (; i < text.size() && spliced(text[i]); ++i)
            AppendSplicedUnit(result, text[i]);
        --i;
        AppendAscii(result, "&\"");
    }
    return result;
}

template <class Char, class Outside>
Result<Char> PlainTextInCommentOf(Text<Char> text, Outside outside) {
    const auto special = [&](Char c) { return IsLineBreak(c) || outside(c); };
    Result<Char> result;
    result.reserve(text.size());
    for (std::size_t i = CopyRun(result, text, 0, special); i < text.size();
         i = CopyRun(result, text, i + 1, special)) {
        if (text[i] == Char('\r'))
            AppendAscii(result, "\\r");
        else if (text[i] == Char('\n'))
            AppendAscii(result, "\\n");
        else
            result += Char('?');
    }
    return result;
}

// Byte texts are already in the code page.
constexpr auto kNoByteOutside = [](char) { return false; };

// Wide texts: what the caller's code page lacks.
auto OutsideOf(InCodePage inCodePage) {
    return [inCodePage](wchar_t unit) { return !inCodePage(unit); };
}

} // namespace

std::string IntegerText(std::int32_t value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string(digits, end);
}

std::string BoolLiteral(int kernelBoolean) {
    return kernelBoolean != 0 ? "true" : "false";
}

std::string ModuleLiteral(std::string_view text) {
    return QuotesDoubledLineBreaksSpliced(text, kNoByteOutside);
}

std::string CodeLiteral(std::string_view text) {
    return CodeLiteralOf(text, kNoByteOutside);
}

std::string PlainTextInLiteral(std::string_view text) {
    return PlainTextInLiteralOf(text, kNoByteOutside);
}

std::string PlainTextInComment(std::string_view text) {
    return PlainTextInCommentOf(text, kNoByteOutside);
}

std::string QuoteDoubled(std::string_view text) {
    return PlainTextInLiteral(text);
}

std::wstring CodeLiteral(std::wstring_view text, InCodePage inCodePage) {
    return CodeLiteralOf(text, OutsideOf(inCodePage));
}

std::wstring ModuleLiteral(std::wstring_view text, InCodePage inCodePage) {
    return QuotesDoubledLineBreaksSpliced(text, OutsideOf(inCodePage));
}

std::wstring PlainTextInLiteral(std::wstring_view text, InCodePage inCodePage) {
    return PlainTextInLiteralOf(text, OutsideOf(inCodePage));
}

std::wstring PlainTextInComment(std::wstring_view text, InCodePage inCodePage) {
    return PlainTextInCommentOf(text, OutsideOf(inCodePage));
}

} // namespace kv
