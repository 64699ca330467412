#include "common/message_clipboard_text.h"

#include <algorithm>

namespace kv {

bool IsCopyShortcut(unsigned virtual_key, bool ctrl, bool shift, bool alt) {
    return virtual_key == 'C' && ctrl && !shift && !alt;
}

std::string MessageClipboardText(std::string_view caption, std::string_view message,
                                 const std::vector<std::string>& button_captions) {
    const std::string divider = std::string(27, '-') + "\r\n";
    std::string buttons;
    for (const std::string& button_caption : button_captions)
        buttons += button_caption + "   ";
    buttons.erase(std::remove(buttons.begin(), buttons.end(), '&'), buttons.end());

    std::string text = divider;
    text += caption;
    text += "\r\n";
    text += divider;
    text += message;
    text += "\r\n";
    text += divider;
    text += buttons;
    text += "\r\n";
    text += divider;
    return text;
}

} // namespace kv
