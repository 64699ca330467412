#include "text/text_case.h"

namespace kv {

char LowerCaseLetter(char character) {
    const auto code = static_cast<unsigned char>(character);
    if ((code >= 'A' && code <= 'Z') || (code >= 0xC0 && code <= 0xDF))
        return static_cast<char>(code + 0x20);
    if (code == 0xA8) // Ё
        return static_cast<char>(0xB8);
    return character;
}

std::string LowerCased(std::string_view text) {
    std::string lower(text);
    for (char& character : lower)
        character = LowerCaseLetter(character);
    return lower;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (LowerCaseLetter(text[i]) != LowerCaseLetter(prefix[i]))
            return false;
    return true;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithIgnoringCase(a, b);
}

} // namespace kv
