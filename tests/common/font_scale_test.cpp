// The font scale read from the registry, fonts rescaled and renamed, and a window tree scaled
// with the fonts its controls share.
#include "installation_registry.h"

#include "common/font_scale.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

class FontScaleRegistry : public InstallationRegistry {};

TEST_F(FontScaleRegistry, MissingKeyOrValueGivesOne) {
    EXPECT_DOUBLE_EQ(ReadFontScale(), 1.0);
    SetText(InstallationKey, L"InstallPath", L"C:\\Zelvar");
    SetText(FontScaleKey, L"Other", L"1.4");
    EXPECT_DOUBLE_EQ(ReadFontScale(), 1.0);
}

TEST_F(FontScaleRegistry, ScaleTextIsReadWithEitherSeparatorAndBounded) {
    const struct {
        const wchar_t* text;
        double expected;
    } cases[] = {{L"1.25", 1.25}, {L"1,25", 1.25}, {L"2", 1.5},
                 {L"0.8", 1.0},   {L"abc", 1.0},   {L"", 1.0}};
    for (const auto& c : cases) {
        SetText(FontScaleKey, L"Scale", c.text);
        EXPECT_DOUBLE_EQ(ReadFontScale(), c.expected)
            << testing::PrintToString(std::wstring(c.text));
    }
}

TEST_F(FontScaleRegistry, ScaleThatIsNotTextGivesOne) {
    SetNumber(FontScaleKey, L"Scale", 2);
    EXPECT_DOUBLE_EQ(ReadFontScale(), 1.0);
}

TEST_F(FontScaleRegistry, LoadsOnceForTheProcess) {
    SetText(FontScaleKey, L"Scale", L"1.25");
    LoadFontScale();
    EXPECT_DOUBLE_EQ(FontScale, 1.25);
    SetText(FontScaleKey, L"Scale", L"1.5");
    LoadFontScale();
    EXPECT_DOUBLE_EQ(FontScale, 1.25);
    FontScale = 1.0;
}

TEST(ParseFloatAnySeparator, UsesTheUserLocaleSeparator) {
    // The tests run under a Russian locale, whose separator is ",".
    EXPECT_DOUBLE_EQ(ParseFloatAnySeparator(L"1,5", 0.0), 1.5);
    EXPECT_DOUBLE_EQ(ParseFloatAnySeparator(L"1.5", 0.0), 1.5);
    EXPECT_DOUBLE_EQ(ParseFloatAnySeparator(L"x", 3.0), 3.0);
}

// FontScale for one test.
class ScaledBy : public testing::Test {
protected:
    void SetUp() override { FontScale = 1.5; }
    void TearDown() override { FontScale = 1.0; }
};

LOGFONTW Description(const wchar_t* face, int height) {
    LOGFONTW font{};
    font.lfHeight = height;
    wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

LOGFONTW DescriptionOf(HFONT font) {
    LOGFONTW description{};
    GetObjectW(font, sizeof(description), &description);
    return description;
}

TEST_F(ScaledBy, ScaleFontRescalesAndNormalisesOnRequest) {
    LOGFONTW tahoma = Description(L"Tahoma", -11);
    ScaleFont(tahoma, false);
    EXPECT_EQ(tahoma.lfHeight, -16);
    EXPECT_STREQ(tahoma.lfFaceName, L"Tahoma");
    LOGFONTW normalised = Description(L"Tahoma", -11);
    ScaleFont(normalised, true);
    EXPECT_STREQ(normalised.lfFaceName, L"MS Shell Dlg");
    LOGFONTW system = Description(L"vEVEVEDEDED", -11);
    ScaleFont(system, true);
    EXPECT_STREQ(system.lfFaceName, L"vEVEVEDEDED");
}

TEST_F(ScaledBy, MakeScaledFontMakesTheLibraryFont) {
    FontOwner font = MakeScaledFont(L"Arial", -11);
    ASSERT_TRUE(font);
    const LOGFONTW made = DescriptionOf(font.Get());
    EXPECT_EQ(made.lfHeight, -16);
    EXPECT_STREQ(made.lfFaceName, L"MS Shell Dlg");
}

HWND Control(const wchar_t* window_class, HWND parent, HFONT font) {
    HWND control =
        CreateWindowExW(0, window_class, L"x", (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE, 0, 0,
                        50, 20, parent, nullptr, nullptr, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

HFONT FontOf(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

TEST_F(ScaledBy, ControlFontsAreScaledUnlessTakenFromTheParent) {
    FontOwner form_font(
        CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Vevevededed"));
    FontOwner own_font(
        CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    HWND form = Control(L"STATIC", nullptr, form_font.Get());
    HWND label = Control(L"STATIC", form, form_font.Get());
    HWND button = Control(L"BUTTON", form, own_font.Get());
    HWND panel = Control(L"STATIC", form, own_font.Get());
    HWND panel_label = Control(L"STATIC", panel, own_font.Get());
    HWND panel_edit = Control(L"EDIT", panel, form_font.Get());

    {
        ScaledFonts fonts = ScaleControlFonts(form);
        EXPECT_EQ(fonts.Count(), 4u); // the form, the button, the panel, the panel's edit

        const LOGFONTW form_scaled = DescriptionOf(FontOf(form));
        EXPECT_EQ(form_scaled.lfHeight, -16);
        EXPECT_STREQ(form_scaled.lfFaceName, L"Vevevededed");
        // Taken from the parent: not scaled on its own, it shows the parent's scaled font.
        EXPECT_EQ(FontOf(label), FontOf(form));
        EXPECT_EQ(FontOf(panel_label), FontOf(panel));

        const LOGFONTW button_scaled = DescriptionOf(FontOf(button));
        EXPECT_EQ(button_scaled.lfHeight, -19); // 9 pt x 1.5 = 13.5 -> 14 pt
        EXPECT_STREQ(button_scaled.lfFaceName, L"MS Shell Dlg");
        EXPECT_NE(FontOf(panel), FontOf(button)); // scaled each on its own
        EXPECT_EQ(DescriptionOf(FontOf(panel_edit)).lfHeight, -16);
        EXPECT_NE(FontOf(panel_edit), FontOf(form));
        DestroyWindow(form);
    }
}

} // namespace
