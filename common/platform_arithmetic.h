// Integer arithmetic as the platform does it, for the pure geometry of fonts and dialogs.
#pragma once

#include <cmath>
#include <cstdint>

namespace kv {

// The nearest integer, halves to even (banker's rounding).
inline int RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double rounded = lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0))
        rounded = lower + 1.0;
    return static_cast<int>(rounded);
}

// a * b / c with a 64-bit intermediate, rounded to the nearest integer with halves away from
// zero, as the platform's MulDiv; -1 when c is 0 or the result does not fit.
inline int MulDiv64(int a, int b, int c) {
    if (c == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const std::int64_t result =
        product >= 0 ? (product + divisor / 2) / divisor : (product - divisor / 2) / divisor;
    if (result > INT32_MAX || result < INT32_MIN)
        return -1;
    return static_cast<int>(result);
}

} // namespace kv
