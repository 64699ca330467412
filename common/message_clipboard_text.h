// What Ctrl+C in the message dialog puts on the clipboard. Pure.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Ctrl+C exactly: the key "C" with Ctrl held, and neither Shift nor Alt.
bool IsCopyShortcut(unsigned virtual_key, bool ctrl, bool shift, bool alt);

// Dividers of 27 "-" around the caption, the message (markup included) and a line of the button
// captions, each followed by three blanks, without "&". 8-bit text, CR LF.
std::string MessageClipboardText(std::string_view caption, std::string_view message,
                                 const std::vector<std::string>& button_captions);

} // namespace kv
