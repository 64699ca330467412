// A small evaluator of the VBScript string expressions that the literal encodings produce:
// "..." literals (a doubled quote stands for one quote, no line break inside), Chr(13), Chr(10)
// and ChrW(n) with n a decimal UTF-16 code unit, joined by "&". Anything else is malformed. Tests
// and the fuzz target use it to read an encoding back without a script engine.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv::testing {

namespace detail {

template <class Char>
bool StartsWith(std::basic_string_view<Char> text, std::size_t pos, std::string_view ascii) {
    if (text.size() - pos < ascii.size())
        return false;
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        if (text[pos + i] != static_cast<Char>(ascii[i]))
            return false;
    }
    return true;
}

// "ChrW(n)" at `pos`: the code unit, and `pos` moved past it.
template <class Char>
std::optional<Char> ReadChrW(std::basic_string_view<Char> text, std::size_t& pos) {
    if (!StartsWith(text, pos, "ChrW("))
        return std::nullopt;
    std::size_t at = pos + 5;
    unsigned long code = 0;
    const std::size_t digits = at;
    for (; at < text.size() && text[at] >= Char('0') && text[at] <= Char('9'); ++at) {
        code = code * 10 + static_cast<unsigned long>(text[at] - Char('0'));
        if (code > 0xFFFF)
            return std::nullopt; // ChrW takes one UTF-16 code unit
    }
    if (at == digits || at == text.size() || text[at] != Char(')'))
        return std::nullopt;
    pos = at + 1;
    return static_cast<Char>(code);
}

template <class Char>
std::optional<std::basic_string<Char>> Evaluate(std::basic_string_view<Char> expression) {
    std::basic_string<Char> value;
    std::size_t pos = 0;
    for (;;) {
        if (StartsWith(expression, pos, "Chr(13)")) {
            value += Char('\r');
            pos += 7;
        } else if (StartsWith(expression, pos, "Chr(10)")) {
            value += Char('\n');
            pos += 7;
        } else if (StartsWith(expression, pos, "ChrW(")) {
            const std::optional<Char> unit = ReadChrW(expression, pos);
            if (!unit)
                return std::nullopt;
            value += *unit;
        } else if (pos < expression.size() && expression[pos] == Char('"')) {
            for (++pos;; ++pos) {
                if (pos == expression.size())
                    return std::nullopt; // unterminated literal
                const Char c = expression[pos];
                if (c == Char('\r') || c == Char('\n'))
                    return std::nullopt; // a line break ends the statement, not the literal
                if (c == Char('"')) {
                    if (pos + 1 < expression.size() && expression[pos + 1] == Char('"')) {
                        value += Char('"');
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
        if (expression[pos] != Char('&'))
            return std::nullopt;
        ++pos;
    }
}

template <class Char> std::basic_string<Char> WithCrLf(std::basic_string_view<Char> text) {
    std::basic_string<Char> result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == Char('\r') || text[i] == Char('\n')) {
            if (text[i] == Char('\r') && i + 1 < text.size() && text[i + 1] == Char('\n'))
                ++i;
            result += Char('\r');
            result += Char('\n');
        } else {
            result += text[i];
        }
    }
    return result;
}

} // namespace detail

inline std::optional<std::string> EvaluateStringExpression(std::string_view expression) {
    return detail::Evaluate(expression);
}

inline std::optional<std::wstring> EvaluateStringExpression(std::wstring_view expression) {
    return detail::Evaluate(expression);
}

// The text with every line break (CR LF, lone CR, lone LF) written as CR LF.
inline std::string WithCrLfLineBreaks(std::string_view text) {
    return detail::WithCrLf(text);
}

inline std::wstring WithCrLfLineBreaks(std::wstring_view text) {
    return detail::WithCrLf(text);
}

} // namespace kv::testing
