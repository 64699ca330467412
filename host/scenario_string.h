// Reading back the string expressions that a scenario passes to the kernel: a literal with its
// quotes doubled, or pieces of literals and Chr/ChrW calls joined with "&", as the library writes
// a name that holds a quote, a line break or a character the code page lacks. Pure: no Windows
// header.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kvhost {

// Turns the bytes of a literal (text in the scenario's code page) into the kernel's UTF-16 text.
using WidenText = std::wstring (*)(std::string_view bytes);

// The text of the string expression that starts at `position` of the line (spaces before it are
// passed over), with `position` moved past its end; nothing, with `position` unchanged, when no
// well-formed expression starts there. ChrW(n) gives the UTF-16 code unit n (a negative n counts
// from 65536, as VBScript has it); Chr(n) the code page's byte n.
std::optional<std::wstring> ReadStringExpression(std::string_view line, std::size_t& position,
                                                 WidenText widen);

} // namespace kvhost
