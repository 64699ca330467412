// The kernel's texts placed in a scenario: the bytes for one placeholder, chosen by where the
// placeholder stands. The scenario is 8-bit text in the ANSI code page, and still recreates the
// kernel's exact text where the code page lacks some of its characters: inside a string literal
// each such UTF-16 code unit is spliced in as ChrW(n); elsewhere a reader sees "?" for it.
#pragma once

#include "text/literal_encoding.h"

#include <string>
#include <string_view>

namespace kv {

// Inside the quotes of a statement line (a name, caption, measure unit, property, group).
std::string ScenarioLiteral(std::wstring_view text);

// On a comment line, or anywhere else outside a string literal.
std::string ScenarioComment(std::wstring_view text);

// Both, for a name that a fragment writes in statements and comments.
PlacedName ScenarioName(std::wstring_view text);

// A whole string expression, every line break as CR LF: attribute function code.
std::string ScenarioCodeLiteral(std::wstring_view text);

// Inside the quotes of a statement line, every line break as CR LF: a global module's text.
std::string ScenarioModuleLiteral(std::wstring_view text);

} // namespace kv
