#include "recording/literal_encoding.h"

#include <charconv>

namespace kv {
namespace {

constexpr std::string_view kLineBreakSplice = "\"&Chr(13)&Chr(10)&\"";

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// Steps shared by CodeLiteral and ModuleLiteral: quotes doubled, then every line break (CR LF
// first, then a lone CR, then a lone LF) replaced by the splice. One left-to-right pass gives
// the same result as the successive replacements, since none of them produces text that a
// later one matches.
std::string QuotesDoubledLineBreaksSpliced(std::string_view text) {
    std::string result;
    result.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            result += "\"\"";
        } else if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            result += kLineBreakSplice;
        } else if (c == '\n') {
            result += kLineBreakSplice;
        } else {
            result += c;
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
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            result += "\"\"";
        } else if (IsLineBreak(c)) {
            result += '"';
            for (; i < text.size() && IsLineBreak(text[i]); ++i)
                result += text[i] == '\r' ? "&Chr(13)" : "&Chr(10)";
            --i;
            result += "&\"";
        } else {
            result += c;
        }
    }
    return result;
}

std::string PlainTextInComment(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c == '\r')
            result += "\\r";
        else if (c == '\n')
            result += "\\n";
        else
            result += c;
    }
    return result;
}

std::string QuoteDoubled(std::string_view text) {
    return PlainTextInLiteral(text);
}

} // namespace kv
