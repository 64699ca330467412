// The registry form of a GUID, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with upper-case digits,
// from its 16 bytes as a GUID lies in memory (the 16-byte security key of the kernel).
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kv {

// The first three fields are little-endian in memory, as on every Windows machine.
std::string GuidText(std::span<const std::uint8_t, 16> bytes);

// The same put into an existing string, reusing its storage.
void GuidTextInto(std::string& text, std::span<const std::uint8_t, 16> bytes);

} // namespace kv
