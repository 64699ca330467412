// Letter case of the library's 8-bit texts (Windows-1251): Latin and Cyrillic letters. Pure.
#pragma once

#include <string>
#include <string_view>

namespace kv {

char LowerCaseLetter(char character);
std::string LowerCased(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

} // namespace kv
