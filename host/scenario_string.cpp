#include "scenario_string.h"

#include <cctype>
#include <charconv>

namespace kvhost {
namespace {

void SkipSpaces(std::string_view line, std::size_t& position) {
    while (position < line.size() && (line[position] == ' ' || line[position] == '\t'))
        ++position;
}

bool StartsWithWord(std::string_view line, std::size_t position, std::string_view word) {
    if (line.size() - position < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const auto a = static_cast<unsigned char>(line[position + i]);
        if (std::tolower(a) != std::tolower(static_cast<unsigned char>(word[i])))
            return false;
    }
    return true;
}

// "..." with every "" standing for one quote; the bytes between the quotes.
std::optional<std::string> ReadLiteral(std::string_view line, std::size_t& position) {
    if (position >= line.size() || line[position] != '"')
        return std::nullopt;
    std::string bytes;
    for (std::size_t i = position + 1; i < line.size(); ++i) {
        if (line[i] != '"') {
            bytes += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
            bytes += '"';
            ++i;
        } else {
            position = i + 1;
            return bytes;
        }
    }
    return std::nullopt;
}

// Chr(n) or ChrW(n); the call's argument, with `wide` telling which.
std::optional<long> ReadCharacterCall(std::string_view line, std::size_t& position, bool& wide) {
    std::size_t at = position;
    if (StartsWithWord(line, at, "chrw(")) {
        wide = true;
        at += 5;
    } else if (StartsWithWord(line, at, "chr(")) {
        wide = false;
        at += 4;
    } else {
        return std::nullopt;
    }
    SkipSpaces(line, at);
    long value = 0;
    const auto [end, error] = std::from_chars(line.data() + at, line.data() + line.size(), value);
    if (error != std::errc())
        return std::nullopt;
    at = static_cast<std::size_t>(end - line.data());
    SkipSpaces(line, at);
    if (at >= line.size() || line[at] != ')')
        return std::nullopt;
    if (wide ? (value < -32768 || value > 65535) : (value < 0 || value > 255))
        return std::nullopt;
    position = at + 1;
    return value;
}

} // namespace

std::optional<std::wstring> ReadStringExpression(std::string_view line, std::size_t& position,
                                                 WidenText widen) {
    std::size_t at = position;
    std::wstring text;
    for (;;) {
        SkipSpaces(line, at);
        bool wide = false;
        if (std::optional<std::string> literal = ReadLiteral(line, at)) {
            text += widen(*literal);
        } else if (std::optional<long> code = ReadCharacterCall(line, at, wide)) {
            if (wide)
                text += static_cast<wchar_t>(*code < 0 ? *code + 65536 : *code);
            else
                text += widen(std::string(1, static_cast<char>(*code)));
        } else {
            return std::nullopt;
        }
        std::size_t after = at;
        SkipSpaces(line, after);
        if (after >= line.size() || line[after] != '&')
            break;
        at = after + 1;
    }
    position = at;
    return text;
}

} // namespace kvhost
