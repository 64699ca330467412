#include "common/font_scale.h"

#include "platform/registry_values.h"

#include <algorithm>
#include <cwchar>

namespace kv {

double FontScale = MinimumFontScale;

namespace {

bool font_scale_loaded = false;

wchar_t LocaleDecimalSeparator() {
    wchar_t separator[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) < 2)
        return L'.';
    return separator[0];
}

LOGFONTW DescriptionOf(HFONT font) {
    LOGFONTW description{};
    if (!font || !GetObjectW(font, sizeof(description), &description))
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(description), &description);
    return description;
}

HFONT FontOf(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

void ScaleWindowTree(HWND window, bool has_parent, HFONT parent_old_font, HFONT parent_new_font,
                     ScaledFonts& fonts) {
    const HFONT old_font = FontOf(window);
    HFONT new_font = old_font;
    if (has_parent && old_font == parent_old_font) {
        new_font = parent_new_font; // takes its font from its parent
    } else {
        LOGFONTW description = DescriptionOf(old_font);
        ScaleFont(description, true);
        FontOwner scaled(CreateFontIndirectW(&description));
        if (scaled) {
            new_font = scaled.Get();
            fonts.Add(std::move(scaled));
        }
    }
    if (new_font != old_font)
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(new_font), TRUE);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ScaleWindowTree(child, true, old_font, new_font, fonts);
}

} // namespace

double ReadFontScale() {
    try {
        const RegistryText scale = ReadRegistryText(HKEY_LOCAL_MACHINE, FontScaleKey, L"Scale");
        if (scale.state == RegistryValueState::NotText)
            return MinimumFontScale;
        return FontScaleFromText(scale.text, LocaleDecimalSeparator());
    } catch (...) {
        return MinimumFontScale;
    }
}

void LoadFontScale() {
    if (font_scale_loaded)
        return;
    FontScale = ReadFontScale();
    font_scale_loaded = true;
}

double ParseFloatAnySeparator(std::wstring_view text, double default_value) {
    try {
        return ParseFloatAnySeparator(text, default_value, LocaleDecimalSeparator());
    } catch (...) {
        return 0.0;
    }
}

void NormalizeFontName(LOGFONTW& font) {
    const std::wstring face = NormalizedFontName(font.lfFaceName);
    std::wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    font.lfFaceName[LF_FACESIZE - 1] = L'\0';
}

void ScaleFont(LOGFONTW& font, bool normalize) {
    font.lfHeight = ScaledFontHeight(font.lfHeight, FontScale);
    if (normalize)
        NormalizeFontName(font);
}

FontOwner MakeScaledFont(std::wstring_view face, int height) {
    LOGFONTW description{};
    description.lfHeight = height;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    const std::size_t length = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
    std::wmemcpy(description.lfFaceName, face.data(), length);
    ScaleFont(description, true);
    return FontOwner(CreateFontIndirectW(&description));
}

ScaledFonts ScaleControlFonts(HWND control) {
    ScaledFonts fonts;
    const bool is_child = (GetWindowLongPtrW(control, GWL_STYLE) & WS_CHILD) != 0;
    HWND parent = is_child ? GetParent(control) : nullptr;
    // The parent itself is not rescaled: a control sharing its font keeps it.
    const HFONT parent_font = parent ? FontOf(parent) : nullptr;
    ScaleWindowTree(control, parent != nullptr, parent_font, parent_font, fonts);
    return fonts;
}

} // namespace kv
