// Colouring of VBScript text in the scenario editor: a line is cut into the tokens that get a
// colour of their own, and a whole text becomes the rich-text stream the editor loads in one go.
// Pure: no Windows header.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace kv::execution {

enum class TokenKind { Plain, Keyword, Function, Object, Member, String, Comment, Number };

// The words the editor knows, each set in lower case (VBScript ignores letter case).
struct Vocabulary {
    std::unordered_set<std::wstring> keywords;  // statements and operators
    std::unordered_set<std::wstring> functions; // built-in functions and constants
    std::unordered_set<std::wstring> objects;   // global objects of the script, such as mdl
    std::unordered_set<std::wstring> members;   // members of the described object types
};

// The word in lower case (ASCII letters only: VBScript names are ASCII).
std::wstring LowerCasedWord(std::wstring_view word);

struct Token {
    std::size_t start;
    std::size_t length;
    TokenKind kind;
};

// The coloured tokens of one line (no line break inside), in order; plain text is left out.
// Strings run to their closing quote ("" stays inside) or to the line end, comments (' or a
// leading Rem) to the line end; a member is a known member name right after a dot.
std::vector<Token> HighlightLine(std::wstring_view line, const Vocabulary& words);

// The RGB colour of each kind, as 0x00BBGGRR.
unsigned long TokenColour(TokenKind kind);

// The text as a rich-text stream with the colours of HighlightLine, for a rich-edit control to
// read in one go. Every character of the text is kept: CR LF, a lone CR and a lone LF become
// paragraph ends (one more after a final line break, which the reader takes for the end of the
// document), characters outside ASCII travel as Unicode escapes. Face and size are the
// reader's.
std::string HighlightedRtf(std::wstring_view text, const Vocabulary& words);

} // namespace kv::execution
