// The arithmetic of the library's font scaling, and the parsing of the factor. Pure.
#pragma once

#include <string>
#include <string_view>

namespace kv {

// The factor's bounds: 1.0 (as designed) to 1.5.
constexpr double MinimumFontScale = 1.0;
constexpr double MaximumFontScale = 1.5;

// A decimal number written with either "." or "," as its separator: the first occurrence of the
// separator that the locale does not use is taken as the locale's. Text that is not a number
// (or out of range) gives `default_value`.
double ParseFloatAnySeparator(std::wstring_view text, double default_value,
                              wchar_t locale_decimal_separator);

// The factor from the registry's text ("" when the value is missing): 1.0 to 1.5.
double FontScaleFromText(std::wstring_view text, wchar_t locale_decimal_separator);

// A font height in pixels (negative = character height) at 96 pixels per inch, rescaled by the
// factor through whole points: -11 (8 pt) gives -13 (10 pt) at 1.25.
int ScaledFontHeight(int height, double scale);

// "MS Shell Dlg": the face of every font of the library's windows except the system's own.
const wchar_t* DefaultFontName();
// The system's own face keeps its name (in any letter case); any other becomes the default.
std::wstring NormalizedFontName(std::wstring_view face);

} // namespace kv
