// Breaking the visible characters into lines and runs. The quirks of the library's wrapping are
// kept on purpose, since dialogs are sized by them: the width carried to the next line includes
// the blank it broke at, a word wider than the line overflows, and such a word at the very end
// counts one more (empty) line.
#include "common/markup_text.h"

#include <algorithm>

namespace kv {

namespace {

bool IsLineBreak(char character) {
    return character == '\r' || character == '\n';
}

class LineEmitter {
public:
    LineEmitter(const std::vector<MarkupCharacter>& characters, const MarkupBaseFont& base,
                bool measuring, MarkupMetrics& metrics, MarkupLayout& layout)
        : characters_(characters), base_(base), measuring_(measuring), metrics_(metrics),
          layout_(layout) {}

    // Positions are 1-based, first to last inclusive.
    void Emit(int first, int last, int width, int x, int y) {
        if (measuring_) {
            layout_.box.right = std::max(layout_.box.right, layout_.box.left + width);
            return;
        }
        if (first > last)
            return;
        int run_x = x;
        MarkupRun* run = nullptr;
        for (int position = first; position <= last; ++position) {
            const MarkupCharacter& item = characters_[static_cast<std::size_t>(position - 1)];
            if (item.font != font_ || item.size != size_) {
                font_ = item.font;
                size_ = item.size;
                y_offset_ = OffsetOf(item);
                run = nullptr;
            }
            if (!run) {
                layout_.runs.push_back({font_, run_x, y + y_offset_, {}});
                run = &layout_.runs.back();
            }
            run->text += item.character;
            run_x += item.width;
        }
    }

private:
    // Raised text shares the line's top, lowered text its bottom.
    int OffsetOf(const MarkupCharacter& item) {
        if (item.size != MarkupSize::Lowered)
            return base_.external_leading;
        if (item.font == NoMarkupFont)
            return 0;
        return base_.cell_height - metrics_.CellHeight(item.font);
    }

    const std::vector<MarkupCharacter>& characters_;
    const MarkupBaseFont& base_;
    const bool measuring_;
    MarkupMetrics& metrics_;
    MarkupLayout& layout_;
    // The output state carries over from line to line.
    MarkupFontId font_ = BaseMarkupFont;
    MarkupSize size_ = MarkupSize::Normal;
    int y_offset_ = 0;
};

} // namespace

MarkupLayout LayOutMarkup(const std::vector<MarkupCharacter>& characters,
                          const MarkupBaseFont& base, const MarkupOptions& options, MarkupBox box,
                          MarkupMetrics& metrics) {
    MarkupLayout layout;
    layout.box = box;
    layout.line_height = options.leading + base.cell_height + options.extra_spacing;
    const int line_height = layout.line_height;
    const int x = box.left;
    int y = box.top + options.leading;
    // A box narrower than nothing would make every blank overflow for ever.
    const int available = std::max(0, box.right - box.left);
    if (options.measuring)
        layout.box.right = box.left;
    const int max_lines = line_height > 0 ? (box.bottom - box.top) / line_height : 0;

    LineEmitter emitter(characters, base, options.measuring, metrics, layout);
    const int n = static_cast<int>(characters.size());
    int line_start = 1;
    int break_position = 1;
    int width = 0;
    int width_at_break = 0;
    int position = 1;
    int& line_count = layout.line_count;
    while (position <= n + 1 && n > 0 && (line_count < max_lines || options.measuring)) {
        const bool at_end = position == n + 1;
        const MarkupCharacter* item =
            at_end ? nullptr : &characters[static_cast<std::size_t>(position - 1)];
        const bool at_line_break = item && IsLineBreak(item->character);
        const bool at_blank = item && item->character == ' ' && !item->non_breaking;
        if (!at_end && !at_line_break && !at_blank) {
            width += item->width;
            ++position;
            continue;
        }
        if (options.word_wrap && width > available) {
            if (break_position - line_start <= 0) { // no earlier opportunity on this line
                break_position = position;
                width_at_break = width;
            }
            emitter.Emit(line_start, break_position - 1, width_at_break, x, y);
            y += line_height;
            ++line_count;
            width -= width_at_break;
            width_at_break = width;
            line_start = break_position + 1;
            break_position = position;
            continue; // the same position again
        }
        if (at_end) {
            emitter.Emit(line_start, n, width, x, y);
            ++position;
            ++line_count;
            continue;
        }
        if (at_line_break) {
            emitter.Emit(line_start, position - 1, width, x, y);
            y += line_height;
            ++line_count;
            width = 0;
            width_at_break = 0;
            while (position <= n &&
                   IsLineBreak(characters[static_cast<std::size_t>(position - 1)].character))
                ++position;
            line_start = break_position = position;
            continue;
        }
        break_position = position;
        width_at_break = width;
        width += item->width;
        ++position;
    }
    if (options.measuring)
        layout.box.bottom = box.top + line_height * line_count;
    return layout;
}

} // namespace kv
