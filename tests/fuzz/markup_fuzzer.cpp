// libFuzzer target for the markup reader and layout. The first bytes choose the base font, the
// box and the options, the rest is the text. Whatever they are, reading and laying out must
// stay inside their data, ask for each font once, and give a layout that keeps its promises:
// measured boxes as wide as the widest line and as high as the lines, drawn runs that show
// visible characters in their order without line breaks, never below the box.
#include "common/markup_text.h"
#include "fuzz_require.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

using namespace kv;

namespace {

// Widths that differ by character and font; a face beginning with "x" cannot be made.
// Font n is the n-th font made.
class FuzzMetrics : public MarkupMetrics {
public:
    explicit FuzzMetrics(int base_cell_height) : base_cell_height_(base_cell_height) {}

    std::optional<MarkupFontId> MakeFont(const MarkupFontRequest& request) override {
        // A font that could be made is kept for the call; one that could not is asked again.
        for (const MarkupFontRequest& made : requests)
            Require(std::tie(made.face, made.bold, made.size) !=
                        std::tie(request.face, request.bold, request.size),
                    "a font is made twice");
        Require(request.cell_height > 0, "a font of no height is asked for");
        if (!request.face.empty() && request.face[0] == 'x')
            return std::nullopt;
        requests.push_back(request);
        return static_cast<MarkupFontId>(requests.size());
    }
    int CharacterWidth(MarkupFontId font, char character) override {
        RequireKnown(font);
        return static_cast<unsigned char>(character) % 13 + font % 3;
    }
    int CellHeight(MarkupFontId font) override {
        RequireKnown(font);
        if (font == BaseMarkupFont)
            return base_cell_height_;
        return requests[static_cast<std::size_t>(font - 1)].cell_height;
    }
    void RequireKnown(MarkupFontId font) const {
        Require(font >= BaseMarkupFont && font <= static_cast<int>(requests.size()),
                "a font that was never made is used");
    }

    std::vector<MarkupFontRequest> requests;

private:
    int base_cell_height_;
};

struct Input {
    MarkupBaseFont base;
    MarkupOptions options;
    MarkupBox box;
    std::string_view text;
};

// Six bytes of settings, in ranges a dialog could have, then the text.
Input Decode(const std::uint8_t* data, std::size_t size) {
    std::uint8_t settings[6] = {};
    for (std::size_t i = 0; i < 6 && i < size; ++i)
        settings[i] = data[i];
    Input input;
    input.base = {"Tahoma", 1 + settings[0] % 40, settings[1] % 5};
    input.options.leading = settings[1] >> 5;
    input.options.extra_spacing = (settings[1] >> 3) % 4;
    input.options.measuring = settings[2] & 1;
    input.options.word_wrap = settings[2] & 2;
    input.options.keep_line_breaks = settings[2] & 4;
    input.box.left = settings[2] >> 3;
    input.box.top = settings[3] % 16;
    input.box.right = input.box.left + settings[4] * 2 - 16; // a box may be narrower than nothing
    input.box.bottom = input.box.top + settings[5] * 2;
    if (size > 6)
        input.text = std::string_view(reinterpret_cast<const char*>(data) + 6, size - 6);
    return input;
}

bool IsLineBreak(char character) {
    return character == '\r' || character == '\n';
}

void CheckCharacters(const std::vector<MarkupCharacter>& characters, FuzzMetrics& metrics) {
    for (const MarkupCharacter& item : characters) {
        if (IsLineBreak(item.character)) {
            Require(item.font == NoMarkupFont && item.width == 0, "a line break has a font");
        } else {
            metrics.RequireKnown(item.font);
            Require(item.width == metrics.CharacterWidth(item.font, item.character),
                    "a width was not measured in the character's font");
        }
    }
}

void CheckMeasured(const MarkupLayout& layout, const Input& input,
                   const std::vector<MarkupCharacter>& characters) {
    long long total_width = 0;
    for (const MarkupCharacter& item : characters)
        total_width += item.width;
    Require(layout.box.right >= input.box.left && layout.box.right - input.box.left <= total_width,
            "the measured width is wider than all characters together");
    Require(layout.box.bottom == input.box.top + layout.line_height * layout.line_count,
            "the measured height is not the lines' height");
    Require(layout.line_count <= static_cast<int>(characters.size()) + 1,
            "more lines than characters");
    Require(layout.runs.empty(), "measuring draws");
}

void CheckDrawn(const MarkupLayout& layout, const Input& input,
                const std::vector<MarkupCharacter>& characters, FuzzMetrics& metrics) {
    Require(layout.box == input.box, "drawing changes the box");
    if (layout.line_height > 0)
        Require(layout.line_count <= (input.box.bottom - input.box.top) / layout.line_height,
                "lines drawn below the box");
    // The runs' characters are visible characters, in order, none of them a line break.
    std::size_t next = 0;
    for (const MarkupRun& run : layout.runs) {
        metrics.RequireKnown(run.font);
        Require(!run.text.empty(), "an empty run");
        for (const char character : run.text) {
            Require(!IsLineBreak(character), "a line break is drawn");
            while (next < characters.size() && characters[next].character != character)
                ++next;
            Require(next < characters.size(), "a drawn character is not in the text");
            ++next;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input input = Decode(data, size);
    FuzzMetrics metrics(input.base.cell_height);
    const std::vector<MarkupCharacter> characters =
        ReadMarkup(input.text, input.base, input.options.keep_line_breaks, metrics);
    CheckCharacters(characters, metrics);
    Require(characters.size() <= input.text.size(), "more characters than the text holds");

    const MarkupLayout layout =
        LayOutMarkup(characters, input.base, input.options, input.box, metrics);
    Require(layout.line_height ==
                input.options.leading + input.base.cell_height + input.options.extra_spacing,
            "the line height is not leading + cell + spacing");
    if (input.options.measuring)
        CheckMeasured(layout, input, characters);
    else
        CheckDrawn(layout, input, characters, metrics);
    return 0;
}
