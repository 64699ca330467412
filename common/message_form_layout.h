// The geometry of the message dialog, computed from what was measured with its fonts: dialog
// units, the text's extent and the button captions' widths. Pure: no Windows header.
#pragma once

#include "common/message_buttons.h"

#include <array>
#include <functional>
#include <string_view>
#include <vector>

namespace kv {

// Measured in the dialog's font to find its dialog units.
constexpr std::string_view DialogUnitSample =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

struct DialogUnits {
    int x = 0;
    int y = 0;
};
// From the extent of DialogUnitSample: the average character width and the height.
DialogUnits DialogUnitsFromExtent(int sample_width, int sample_height);

struct MessageFormMetrics {
    int side_margin = 0;
    int top_margin = 0;
    int icon_gap = 0;
    int row_gap = 0;
    int button_width = 0; // the narrowest a button gets
    int button_height = 0;
    int button_gap = 0;
};
MessageFormMetrics MessageFormMetricsFor(DialogUnits units);

constexpr int MessageIconSize = 32;

// The measured widths of the button captions (+ 8), one per button row; 0 until measured. The
// process keeps one for its whole life, so a caption is measured once.
using ButtonWidthCache = std::array<int, MessageButtonCount>;

// The width of every button of a dialog: the widest of `minimum_width` and the cached widths of
// the buttons in the set; `measure_caption` fills the entries still 0.
int WidestButton(int minimum_width, TMessageButtons buttons, ButtonWidthCache& cache,
                 const std::function<int(MessageButton)>& measure_caption);

struct FormRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const FormRect&) const = default;
};

struct MessageFormLayout {
    int client_width = 0;
    int client_height = 0;
    FormRect icon; // where the icon goes, when the kind has one
    FormRect text;
    std::vector<FormRect> buttons; // in table order
};

MessageFormLayout LayOutMessageForm(const MessageFormMetrics& metrics, int text_width,
                                    int text_height, bool has_icon, int button_count,
                                    int button_width);

struct FormPosition {
    int left = 0;
    int top = 0;
    bool operator==(const FormPosition&) const = default;
};
// Centred on the primary screen by its outer (frame) size.
FormPosition CentredOnScreen(int screen_width, int screen_height, int outer_width,
                             int outer_height);

} // namespace kv
