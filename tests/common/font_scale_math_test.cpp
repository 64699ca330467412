// The font-scale factor from its registry text, the rescaled heights and face normalisation.
#include "common/font_scale_math.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

struct ParseCase {
    const wchar_t* text;
    wchar_t locale_separator;
    double expected;
};

TEST(ParseFloatAnySeparator, AcceptsEitherSeparatorOnce) {
    const ParseCase cases[] =
        {
            {L"1.25", L',', 1.25}, {L"1,25", L'.', 1.25}, {L"1,25", L',', 1.25},
            {L"1.25", L'.', 1.25}, {L" 2 ", L'.', 2.0},   {L"-0.5", L'.', -0.5},
            {L"1e1", L'.', 10.0},  {L".5", L',', 0.5},    {L"abc", L'.', 7.0},
            {L"", L'.', 7.0},      {L"1,2,5", L'.', 7.0}, // only the first "," is replaced
            {L"1.2.5", L'.', 7.0}, {L"1 234", L'.', 7.0}, {L"1e999", L'.', 7.0},
            {L"1.5x", L'.', 7.0},  {L"+", L'.', 7.0},     {L"1e", L'.', 7.0},
        };
    for (const ParseCase& c : cases)
        EXPECT_DOUBLE_EQ(ParseFloatAnySeparator(c.text, 7.0, c.locale_separator), c.expected)
            << testing::PrintToString(std::wstring(c.text)) << " under '"
            << static_cast<char>(c.locale_separator) << "'";
}

TEST(FontScaleFromText, IsKeptBetweenOneAndOneAndAHalf) {
    const struct {
        const wchar_t* text;
        double expected;
    } cases[] = {{L"1.25", 1.25}, {L"1,25", 1.25}, {L"2", 1.5}, {L"1.5", 1.5}, {L"0.8", 1.0},
                 {L"-3", 1.0},    {L"abc", 1.0},   {L"", 1.0},  {L"1", 1.0}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(FontScaleFromText(c.text, L'.'), c.expected)
            << testing::PrintToString(std::wstring(c.text));
        EXPECT_DOUBLE_EQ(FontScaleFromText(c.text, L','), c.expected)
            << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(ScaledFontHeight, GoesThroughWholePoints) {
    const struct {
        int height;
        double scale;
        int expected;
    } cases[] = {
        {-11, 1.0, -11},    {-11, 1.25, -13}, {-11, 1.5, -16}, // 8 pt -> 8, 10, 12 pt
        {-12, 1.0, -12},    {-12, 1.5, -19},                   // 9 pt x 1.5 = 13.5 -> 14 pt
        {-11, 1.3125, -13},                                    // 8 pt x 1.3125 = 10.5 -> 10 pt
        {-16, 1.0, -16},    {13, 1.0, 13},                     // positive: cell height
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaledFontHeight(c.height, c.scale), c.expected) << c.height << " x " << c.scale;
}

TEST(NormalizedFontName, KeepsOnlyTheSystemFace) {
    EXPECT_EQ(NormalizedFontName(L"Vevevededed"), L"Vevevededed");
    EXPECT_EQ(NormalizedFontName(L"VEVEVEDEDED"), L"VEVEVEDEDED");
    EXPECT_EQ(NormalizedFontName(L"vevevededed"), L"vevevededed");
    EXPECT_EQ(NormalizedFontName(L"Tahoma"), L"MS Shell Dlg");
    EXPECT_EQ(NormalizedFontName(L"Vevevededed2"), L"MS Shell Dlg");
    EXPECT_EQ(NormalizedFontName(L""), L"MS Shell Dlg");
}

} // namespace
