#include "recording/guid_text.h"

namespace kv {

std::string GuidText(std::span<const std::uint8_t, 16> bytes) {
    // Byte positions in the order the digits are written: Data1, Data2 and Data3 reversed
    // (little endian), then Data4 as stored.
    constexpr std::uint8_t kHyphen = 0xFF;
    // clang-format off
    static constexpr std::uint8_t kOrder[] = {3, 2, 1, 0, kHyphen, 5, 4, kHyphen, 7, 6, kHyphen,
                                              8, 9, kHyphen, 10, 11, 12, 13, 14, 15};
    // clang-format on
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "{";
    text.reserve(38);
    for (const std::uint8_t position : kOrder) {
        if (position == kHyphen) {
            text += '-';
            continue;
        }
        text += kDigits[bytes[position] >> 4];
        text += kDigits[bytes[position] & 0x0F];
    }
    text += '}';
    return text;
}

} // namespace kv
