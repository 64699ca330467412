// The files that give the scenario editor its words: word lists (VBScript's keywords or
// functions) and the object description of the model kernel (the members of its objects). Both
// are small XML files of our own:
//
//   <wordlist kind="keyword">            kind: "keyword" or "function"
//     <word>Dim</word> ...
//   </wordlist>
//
//   <objectspec>
//     <object type="IZModel"> <member>zrGetClassVector</member> ... </object> ...
//   </objectspec>
#pragma once

#include "execution/vbscript_highlight.h"

#include <optional>
#include <string>
#include <vector>

namespace kv::execution {

struct WordList {
    TokenKind kind = TokenKind::Keyword;
    std::vector<std::wstring> words;
};

// The list, or nothing when the file is missing or not a word list.
std::optional<WordList> ReadWordList(const std::wstring& path);

// Every member name of every object the description names, or nothing when the file is missing
// or not an object description.
std::optional<std::vector<std::wstring>> ReadObjectSpecMembers(const std::wstring& path);

} // namespace kv::execution
