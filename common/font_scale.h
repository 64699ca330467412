// Font scaling of the library's windows: every font grows by the installation's factor, and
// every face but the system's own becomes "MS Shell Dlg". Touched only on the UI thread.
#pragma once

#include "common/font_scale_math.h"
#include "platform/gdi_owners.h"

#include <windows.h>

#include <string_view>
#include <vector>

namespace kv {

// The factor, 1.0 to 1.5; 1.0 until LoadFontScale has run.
extern double FontScale;

// Reads the factor from the registry once (library start-up); later calls do nothing.
void LoadFontScale();
// The factor the registry gives now: "Scale" under HKLM\software\morvek\zelvar\4.0\Font. A
// missing key or value, a value that is not text or not a number give 1.0.
double ReadFontScale();

// ParseFloatAnySeparator with the user locale's decimal separator.
double ParseFloatAnySeparator(std::wstring_view text, double default_value);

// The font's height rescaled by FontScale; with `normalize`, its face normalised too.
void ScaleFont(LOGFONTW& font, bool normalize);
void NormalizeFontName(LOGFONTW& font);

// A font of the library's windows: the face and height given, then ScaleFont with normalising.
FontOwner MakeScaledFont(std::wstring_view face, int height);

// The fonts that ScaleControlFonts made; keep them as long as the windows use them.
class ScaledFonts {
public:
    void Add(FontOwner font) { fonts_.push_back(std::move(font)); }
    std::size_t Count() const noexcept { return fonts_.size(); }

private:
    std::vector<FontOwner> fonts_;
};

// ScaleFont with normalising on a window and everything on it. A window that shares its
// parent's font is not scaled on its own: it gets the parent's scaled font.
[[nodiscard]] ScaledFonts ScaleControlFonts(HWND control);

} // namespace kv
