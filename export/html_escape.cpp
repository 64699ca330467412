#include "export/html_escape.h"

#include <array>
#include <string>

namespace kv::html {
namespace {

// The reference for a character that must not appear as itself, or null.
const char* TextReference(char c) {
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return "&quot;";
    default:
        return nullptr;
    }
}

const char* UnquotedAttributeReference(char c) {
    switch (c) {
    case '\'':
        return "&#39;";
    case '=':
        return "&#61;";
    case '`':
        return "&#96;";
    case ' ':
        return "&#32;";
    case '\t':
        return "&#9;";
    case '\n':
        return "&#10;";
    case '\f':
        return "&#12;";
    case '\r':
        return "&#13;";
    default:
        return TextReference(c);
    }
}

// Which characters have a reference, from the reference function itself.
template <const char* (*Reference)(char)> bool Replaced(char c) {
    static const std::array<bool, 256> replaced = [] {
        std::array<bool, 256> table{};
        for (int c = 0; c < 256; ++c)
            table[c] = Reference(static_cast<char>(c)) != nullptr;
        return table;
    }();
    return replaced[static_cast<unsigned char>(c)];
}

// Copies the text with each character that has a reference replaced by it; plain text is
// copied a run at a time.
template <const char* (*Reference)(char)> std::string Escape(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!Replaced<Reference>(text[i]))
            continue;
        result.append(text.substr(run, i - run));
        result += Reference(text[i]);
        run = i + 1;
    }
    result.append(text.substr(run));
    return result;
}

template <const char* (*Reference)(char)> EncodedText Escaped(std::string_view text) {
    for (const char c : text)
        if (Replaced<Reference>(c))
            return EncodedText::Encoded(Escape<Reference>(text));
    return EncodedText::Plain(text);
}

// The bytes escaped piece by piece, with a numeric character reference where each character
// that the code page lacks stands.
template <const char* (*Reference)(char)> std::string EscapeModelText(const ModelText& text) {
    const std::string_view bytes = text.bytes;
    std::string result;
    result.reserve(bytes.size() + 8 * text.references.size());
    std::size_t done = 0;
    for (const ModelText::Reference& reference : text.references) {
        result += Escape<Reference>(bytes.substr(done, reference.at - done));
        result += "&#";
        result += std::to_string(reference.code_point);
        result += ';';
        done = reference.at;
    }
    result += Escape<Reference>(bytes.substr(done));
    return result;
}

template <const char* (*Reference)(char)> EncodedText EscapedModelText(const ModelText& text) {
    if (text.references.empty())
        return Escaped<Reference>(text.bytes);
    return EncodedText::Encoded(EscapeModelText<Reference>(text));
}

} // namespace

std::string EscapeText(std::string_view text) {
    return Escape<TextReference>(text);
}

std::string EscapeUnquotedAttribute(std::string_view text) {
    return Escape<UnquotedAttributeReference>(text);
}

EncodedText EscapedText(std::string_view text) {
    return Escaped<TextReference>(text);
}

EncodedText EscapedUnquotedAttribute(std::string_view text) {
    return Escaped<UnquotedAttributeReference>(text);
}

std::string EscapeText(const ModelText& text) {
    return EscapeModelText<TextReference>(text);
}

EncodedText EscapedText(const ModelText& text) {
    return EscapedModelText<TextReference>(text);
}

EncodedText EscapedUnquotedAttribute(const ModelText& text) {
    return EscapedModelText<UnquotedAttributeReference>(text);
}

} // namespace kv::html
