// DrawMarkupText: measures or draws text with markup tags (see markup_text.h) in a rectangle of
// a device context, wrapping words and keeping explicit line breaks. The font selected into the
// context when the call starts is the text's base font, and is selected again when it returns.
#pragma once

#include <windows.h>

#include <string_view>

namespace kv {

struct MarkupTextLines {
    int line_height = 0; // leading + the base font's cell height + extra spacing
    int line_count = 0;
};

// Measuring: rect.right becomes left + the widest line, rect.bottom top + line height x line
// count. Drawing: the rectangle is filled with the context's current brush, then the lines
// that fit it are drawn; rect is left as it was. `text` is in the process ANSI code page.
MarkupTextLines DrawMarkupText(HDC dc, std::string_view text, int leading, int extra_spacing,
                               bool measuring, bool word_wrap, bool keep_line_breaks, RECT& rect);

} // namespace kv
