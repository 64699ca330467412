#include "common/draw_markup_text.h"

#include "common/markup_text.h"
#include "platform/gdi_owners.h"

#include <cstring>
#include <vector>

namespace kv {

namespace {

// Character metrics from a device context. Fonts made for tags live as long as this object;
// the base font is selected again before they are released, so the context is never left
// holding a deleted font.
class DeviceContextMetrics : public MarkupMetrics {
public:
    DeviceContextMetrics(HDC dc, HFONT base) : dc_(dc), base_(base) {}
    DeviceContextMetrics(const DeviceContextMetrics&) = delete;
    DeviceContextMetrics& operator=(const DeviceContextMetrics&) = delete;
    ~DeviceContextMetrics() override { SelectObject(dc_, base_); }

    std::optional<MarkupFontId> MakeFont(const MarkupFontRequest& request) override {
        LOGFONTA font{};
        font.lfHeight = request.cell_height; // positive: the cell height
        font.lfWeight = request.bold ? FW_BOLD : FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        std::strncpy(font.lfFaceName, request.face.c_str(), LF_FACESIZE - 1);
        FontOwner made(CreateFontIndirectA(&font));
        if (!made)
            return std::nullopt;
        fonts_.push_back(std::move(made));
        return static_cast<MarkupFontId>(fonts_.size());
    }

    int CharacterWidth(MarkupFontId font, char character) override {
        Select(font);
        SIZE extent{};
        GetTextExtentPoint32A(dc_, &character, 1, &extent);
        return extent.cx;
    }

    int CellHeight(MarkupFontId font) override {
        Select(font);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc_, &metrics);
        return metrics.tmHeight;
    }

    void Select(MarkupFontId font) {
        if (font == NoMarkupFont || font == selected_)
            return;
        SelectObject(
            dc_, font == BaseMarkupFont ? base_ : fonts_[static_cast<std::size_t>(font - 1)].Get());
        selected_ = font;
    }

private:
    HDC dc_;
    HFONT base_;
    MarkupFontId selected_ = BaseMarkupFont;
    std::vector<FontOwner> fonts_;
};

// The face and metrics of the font selected now, measured in the text mapping mode.
MarkupBaseFont BaseFontOf(HDC dc, HFONT font) {
    MarkupBaseFont base;
    LOGFONTA description{};
    if (GetObjectA(font, sizeof(description), &description))
        base.face = description.lfFaceName;
    const int mapping_mode = GetMapMode(dc);
    if (mapping_mode != MM_TEXT)
        SetMapMode(dc, MM_TEXT);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    if (mapping_mode != MM_TEXT)
        SetMapMode(dc, mapping_mode);
    base.cell_height = metrics.tmHeight;
    base.external_leading = metrics.tmExternalLeading;
    return base;
}

} // namespace

MarkupTextLines DrawMarkupText(HDC dc, std::string_view text, int leading, int extra_spacing,
                               bool measuring, bool word_wrap, bool keep_line_breaks, RECT& rect) {
    const auto base_font = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
    const MarkupBaseFont base = BaseFontOf(dc, base_font);
    if (!measuring)
        FillRect(dc, &rect, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));

    DeviceContextMetrics metrics(dc, base_font);
    MarkupOptions options;
    options.leading = leading;
    options.extra_spacing = extra_spacing;
    options.measuring = measuring;
    options.word_wrap = word_wrap;
    options.keep_line_breaks = keep_line_breaks;
    const std::vector<MarkupCharacter> characters =
        ReadMarkup(text, base, keep_line_breaks, metrics);
    metrics.Select(BaseMarkupFont);
    const MarkupLayout layout =
        LayOutMarkup(characters, base, options,
                     {static_cast<int>(rect.left), static_cast<int>(rect.top),
                      static_cast<int>(rect.right), static_cast<int>(rect.bottom)},
                     metrics);
    for (const MarkupRun& run : layout.runs) {
        metrics.Select(run.font);
        TextOutA(dc, run.x, run.y, run.text.data(), static_cast<int>(run.text.size()));
    }
    if (measuring) {
        rect.right = layout.box.right;
        rect.bottom = layout.box.bottom;
    }
    return {layout.line_height, layout.line_count};
}

} // namespace kv
