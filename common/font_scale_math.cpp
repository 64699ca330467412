#include "common/font_scale_math.h"

#include "common/platform_arithmetic.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace kv {

namespace {

bool IsDigit(wchar_t character) {
    return character >= L'0' && character <= L'9';
}

bool IsBlank(wchar_t character) {
    return character == L' ' || character == L'\t';
}

// Blanks, a sign, digits with an optional separator and fraction, an optional exponent, blanks:
// the same text with "." as separator, or nullopt.
std::optional<std::string> DecimalNumber(std::wstring_view text, wchar_t separator) {
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    std::string number;
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-'))
        number += static_cast<char>(text[at++]);
    bool digits = false;
    while (at < text.size() && IsDigit(text[at])) {
        number += static_cast<char>(text[at++]);
        digits = true;
    }
    if (at < text.size() && text[at] == separator) {
        number += '.';
        ++at;
        while (at < text.size() && IsDigit(text[at])) {
            number += static_cast<char>(text[at++]);
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    if (at < text.size() && (text[at] == L'e' || text[at] == L'E')) {
        number += 'e';
        ++at;
        if (at < text.size() && (text[at] == L'+' || text[at] == L'-'))
            number += static_cast<char>(text[at++]);
        if (at >= text.size() || !IsDigit(text[at]))
            return std::nullopt;
        while (at < text.size() && IsDigit(text[at]))
            number += static_cast<char>(text[at++]);
    }
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    if (at != text.size())
        return std::nullopt;
    return number;
}

} // namespace

double ParseFloatAnySeparator(std::wstring_view text, double default_value,
                              wchar_t locale_decimal_separator) {
    const wchar_t other = locale_decimal_separator == L'.' ? L',' : L'.';
    std::wstring normalized(text);
    const std::size_t first = normalized.find(other);
    if (first != std::wstring::npos)
        normalized[first] = locale_decimal_separator;
    std::optional<std::string> number = DecimalNumber(normalized, locale_decimal_separator);
    if (!number)
        return default_value;
    // strtod reads the C library's own separator.
    const char c_separator = *std::localeconv()->decimal_point;
    for (char& character : *number)
        if (character == '.')
            character = c_separator;
    errno = 0;
    const double value = std::strtod(number->c_str(), nullptr);
    if (errno == ERANGE || !std::isfinite(value))
        return default_value;
    return value;
}

double FontScaleFromText(std::wstring_view text, wchar_t locale_decimal_separator) {
    const double scale = ParseFloatAnySeparator(text, MinimumFontScale, locale_decimal_separator);
    if (scale < MinimumFontScale)
        return MinimumFontScale;
    if (scale > MaximumFontScale)
        return MaximumFontScale;
    return scale;
}

int ScaledFontHeight(int height, double scale) {
    const int points = -MulDiv64(height, 72, 96);
    return -MulDiv64(RoundHalfEven(points * scale), 96, 72);
}

const wchar_t* DefaultFontName() {
    return L"MS Shell Dlg";
}

std::wstring NormalizedFontName(std::wstring_view face) {
    constexpr std::wstring_view system_face = L"VEVEVEDEDED";
    bool is_system_face = face.size() == system_face.size();
    for (std::size_t i = 0; is_system_face && i < face.size(); ++i) {
        const wchar_t upper = face[i] >= L'a' && face[i] <= L'z' ? face[i] - L'a' + L'A' : face[i];
        is_system_face = upper == system_face[i];
    }
    return is_system_face ? std::wstring(face) : std::wstring(DefaultFontName());
}

} // namespace kv
