#include "text/guid_text.h"

namespace kv {

std::string GuidText(std::span<const std::uint8_t, 16> bytes) {
    std::string text;
    GuidTextInto(text, bytes);
    return text;
}

void GuidTextInto(std::string& text, std::span<const std::uint8_t, 16> bytes) {
    // Byte positions in the order the digits are written: Data1, Data2 and Data3 reversed
    // (little endian), then Data4 as stored.
    constexpr std::uint8_t kHyphen = 0xFF;
    // clang-format off
    static constexpr std::uint8_t kOrder[] = {3, 2, 1, 0, kHyphen, 5, 4, kHyphen, 7, 6, kHyphen,
                                              8, 9, kHyphen, 10, 11, 12, 13, 14, 15};
    // clang-format on
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char digits[38];
    char* out = digits;
    *out++ = '{';
    for (const std::uint8_t position : kOrder) {
        if (position == kHyphen) {
            *out++ = '-';
            continue;
        }
        *out++ = kDigits[bytes[position] >> 4];
        *out++ = kDigits[bytes[position] & 0x0F];
    }
    *out++ = '}';
    text.assign(digits, sizeof digits);
}

} // namespace kv
