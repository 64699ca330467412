// The markup of the library's messages and hints, read and laid out against an abstract source
// of character metrics. Pure: no Windows header; draw_markup_text.h puts it on a device context.
//
// Tags: "<!name>" opens, "</name>" closes; names compare without regard to case. "font" (the
// face follows the name, up to ">"), "bold", "upper" (raised small text), "lower" (lowered small
// text), "space" (a blank that never breaks), "italic" and "noitalic" (removed, no effect).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Fonts handed out by the metrics source; the base font (selected when drawing starts) is 0.
using MarkupFontId = int;
constexpr MarkupFontId BaseMarkupFont = 0;
constexpr MarkupFontId NoMarkupFont = -1; // line breaks are measured in no font

enum class MarkupSize : std::uint8_t { Normal = 0, Raised = 1, Lowered = 2 };

struct MarkupFontRequest {
    std::string face; // lower-cased
    bool bold = false;
    MarkupSize size = MarkupSize::Normal;
    int cell_height = 0; // pixels, positive
};

// Where widths and heights come from: a device context, or a table in tests.
class MarkupMetrics {
public:
    virtual ~MarkupMetrics() = default;
    // A new font for a tag; nullopt when it cannot be made. Called once per distinct font.
    virtual std::optional<MarkupFontId> MakeFont(const MarkupFontRequest& request) = 0;
    // The extent of one character alone in a font.
    virtual int CharacterWidth(MarkupFontId font, char character) = 0;
    // The character cell height of a font (tmHeight).
    virtual int CellHeight(MarkupFontId font) = 0;
};

// The font selected when the call starts, and the two of its metrics that the layout uses.
struct MarkupBaseFont {
    std::string face;
    int cell_height = 0;
    int external_leading = 0;
};

// One visible character, tags removed.
struct MarkupCharacter {
    char character = 0;
    int width = 0;
    MarkupSize size = MarkupSize::Normal;
    MarkupFontId font = BaseMarkupFont;
    bool non_breaking = false;
};

// Reads the tags and measures every visible character on its own (no kerning). Fonts made for
// tags are asked of `metrics` once each; a font that cannot be made falls back to the base.
std::vector<MarkupCharacter> ReadMarkup(std::string_view text, const MarkupBaseFont& base,
                                        bool keep_line_breaks, MarkupMetrics& metrics);

struct MarkupBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const MarkupBox&) const = default;
};

struct MarkupOptions {
    int leading = 0;       // added above every line, counted in the line height
    int extra_spacing = 0; // counted in the line height only
    bool measuring = false;
    bool word_wrap = true;
    bool keep_line_breaks = true;
};

// Text drawn in one font at one place (y includes the offset of raised and lowered text).
struct MarkupRun {
    MarkupFontId font = BaseMarkupFont;
    int x = 0;
    int y = 0;
    std::string text;
    bool operator==(const MarkupRun&) const = default;
};

struct MarkupLayout {
    int line_height = 0;
    int line_count = 0;
    // Measuring: right = left + widest line, bottom = top + line height x line count. Drawing:
    // the box as given.
    MarkupBox box;
    std::vector<MarkupRun> runs; // drawing only, in drawing order
};

// Breaks the characters into lines within the box and, when drawing, into runs. Drawing stops
// at the last line that fits the box's height.
MarkupLayout LayOutMarkup(const std::vector<MarkupCharacter>& characters,
                          const MarkupBaseFont& base, const MarkupOptions& options, MarkupBox box,
                          MarkupMetrics& metrics);

// Both steps.
MarkupLayout LayOutMarkupText(std::string_view text, const MarkupBaseFont& base,
                              const MarkupOptions& options, MarkupBox box, MarkupMetrics& metrics);

} // namespace kv
