// How the plain exports receive their arguments. Pure: no Windows header.
#pragma once

#include <cstdint>
#include <string_view>

namespace kv {

// The one-byte boolean result: 0 = false, 1 = true.
using ExportBool = unsigned char;

// A boolean argument arrives in a 32-bit slot of which only the low byte counts.
using BoolSlot = std::uint32_t;
constexpr bool BoolArgument(BoolSlot slot) {
    return (slot & 0xFFu) != 0;
}

// A string argument is 8-bit ANSI text; a null address counts as the empty string.
constexpr std::string_view TextArgument(const char* text) {
    return text ? std::string_view(text) : std::string_view();
}

} // namespace kv
