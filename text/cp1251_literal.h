// The library's fixed texts (scenario templates, HTML pieces) are written in the sources as UTF-8
// and stored as Windows-1251 bytes, converted while compiling: the source stays readable and the
// binary holds the bytes the files need. Pure: no Windows header.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string_view>

namespace kv {

// Only ASCII and the Russian alphabet occur in these texts; anything else fails the build.
template <std::size_t N> struct Cp1251Literal {
    char bytes[N]{};
    std::size_t size = 0;

    consteval Cp1251Literal(const char8_t (&utf8)[N]) {
        for (std::size_t i = 0; i + 1 < N;) {
            const unsigned lead = utf8[i];
            if (lead < 0x80) {
                bytes[size++] = static_cast<char>(lead);
                ++i;
                continue;
            }
            if ((lead & 0xE0) != 0xC0 || i + 2 >= N || (utf8[i + 1] & 0xC0) != 0x80)
                throw std::logic_error("fixed text outside ASCII and Cyrillic");
            const unsigned code_point = ((lead & 0x1F) << 6) | (utf8[i + 1] & 0x3F);
            bytes[size++] = static_cast<char>(FromCyrillic(code_point));
            i += 2;
        }
    }

    static consteval unsigned FromCyrillic(unsigned code_point) {
        if (code_point >= 0x410 && code_point <= 0x44F) // А..я
            return 0xC0 + (code_point - 0x410);
        if (code_point == 0x401) // Ё
            return 0xA8;
        if (code_point == 0x451) // ё
            return 0xB8;
        throw std::logic_error("fixed text outside ASCII and Cyrillic");
    }
};

// The converted bytes live in the template parameter object, which has static storage.
template <Cp1251Literal text> constexpr std::string_view Cp1251{text.bytes, text.size};

} // namespace kv
