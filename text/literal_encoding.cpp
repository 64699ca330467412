#include "text/literal_encoding.h"

#include <algorithm>
#include <charconv>

namespace kv {
namespace {

constexpr std::string_view kLineBreakSplice = "\"&Chr(13)&Chr(10)&\"";

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// Copies the text to `result` up to the next of the special characters, a run at a time, and
// answers where that character is (the text's size when there is none).
std::size_t CopyRun(std::string& result, std::string_view text, std::size_t from,
                    const CharSet& special) {
    const std::size_t found = special.FindIn(text, from);
    result.append(text.substr(from, found - from));
    return found;
}

// Steps shared by CodeLiteral and ModuleLiteral: quotes doubled, then every line break (CR LF
// first, then a lone CR, then a lone LF) replaced by the splice. One left-to-right pass gives
// the same result as the successive replacements, since none of them produces text that a
// later one matches.
std::string QuotesDoubledLineBreaksSpliced(std::string_view text) {
    std::string result;
    result.reserve(text.size() + 8);
    for (std::size_t i = CopyRun(result, text, 0, kChangedInLiteral); i < text.size();
         i = CopyRun(result, text, i + 1, kChangedInLiteral)) {
        const char c = text[i];
        if (c == '"') {
            result += "\"\"";
        } else {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            result += kLineBreakSplice;
        }
    }
    return result;
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
    return QuotesDoubledLineBreaksSpliced(text);
}

std::string CodeLiteral(std::string_view text) {
    std::string result = QuotesDoubledLineBreaksSpliced(text);
    // A leading or trailing line break would otherwise leave an empty string operand.
    if (result.size() >= 2 && result[0] == '"' && result[1] == '&')
        result.erase(0, 2);
    else
        result.insert(result.begin(), '"');
    const std::size_t size = result.size();
    if (size >= 2 && result[size - 1] == '"' && result[size - 2] == '&')
        result.erase(size - 2);
    else
        result += '"';
    return result;
}

std::string PlainTextInLiteral(std::string_view text) {
    std::string result;
    result.reserve(text.size() + 8);
    for (std::size_t i = CopyRun(result, text, 0, kChangedInLiteral); i < text.size();
         i = CopyRun(result, text, i + 1, kChangedInLiteral)) {
        if (text[i] == '"') {
            result += "\"\"";
            continue;
        }
        result += '"';
        for (; i < text.size() && IsLineBreak(text[i]); ++i)
            result += text[i] == '\r' ? "&Chr(13)" : "&Chr(10)";
        --i;
        result += "&\"";
    }
    return result;
}

std::string PlainTextInComment(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = CopyRun(result, text, 0, kChangedInComment); i < text.size();
         i = CopyRun(result, text, i + 1, kChangedInComment))
        result += text[i] == '\r' ? "\\r" : "\\n";
    return result;
}

std::string QuoteDoubled(std::string_view text) {
    return PlainTextInLiteral(text);
}

} // namespace kv
