// A small evaluator of the VBScript string expressions that the literal encodings produce:
// "..." literals (a doubled quote stands for one quote, no line break inside) and Chr(13),
// Chr(10), joined by "&". Anything else is malformed. Tests and the fuzz target use it to read
// an encoding back without a script engine.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv::testing {

inline std::optional<std::string> EvaluateStringExpression(std::string_view expression) {
    std::string value;
    std::size_t pos = 0;
    for (;;) {
        if (expression.substr(pos, 7) == "Chr(13)") {
            value += '\r';
            pos += 7;
        } else if (expression.substr(pos, 7) == "Chr(10)") {
            value += '\n';
            pos += 7;
        } else if (pos < expression.size() && expression[pos] == '"') {
            for (++pos;; ++pos) {
                if (pos == expression.size())
                    return std::nullopt; // unterminated literal
                const char c = expression[pos];
                if (c == '\r' || c == '\n')
                    return std::nullopt; // a line break ends the statement, not the literal
                if (c == '"') {
                    if (pos + 1 < expression.size() && expression[pos + 1] == '"') {
                        value += '"';
                        ++pos;
                        continue;
                    }
                    ++pos;
                    break;
                }
                value += c;
            }
        } else {
            return std::nullopt; // not an operand
        }
        if (pos == expression.size())
            return value;
        if (expression[pos] != '&')
            return std::nullopt;
        ++pos;
    }
}

// The text with every line break (CR LF, lone CR, lone LF) written as CR LF.
inline std::string WithCrLfLineBreaks(std::string_view text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            result += "\r\n";
        } else {
            result += text[i];
        }
    }
    return result;
}

} // namespace kv::testing
