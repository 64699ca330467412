#include "export/html_escape.h"

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

template <class Reference> std::string Escape(std::string_view text, Reference reference) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (const char* replacement = reference(c))
            result += replacement;
        else
            result += c;
    }
    return result;
}

} // namespace

std::string EscapeText(std::string_view text) {
    return Escape(text, TextReference);
}

std::string EscapeUnquotedAttribute(std::string_view text) {
    return Escape(text, UnquotedAttributeReference);
}

} // namespace kv::html
