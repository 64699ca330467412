#include "common/message_form_layout.h"

#include "common/platform_arithmetic.h"

#include <algorithm>

namespace kv {

DialogUnits DialogUnitsFromExtent(int sample_width, int sample_height) {
    return {sample_width / static_cast<int>(DialogUnitSample.size()), sample_height};
}

MessageFormMetrics MessageFormMetricsFor(DialogUnits units) {
    MessageFormMetrics metrics;
    metrics.side_margin = MulDiv64(8, units.x, 4);
    metrics.top_margin = MulDiv64(8, units.y, 8);
    metrics.icon_gap = MulDiv64(10, units.x, 4);
    metrics.row_gap = MulDiv64(10, units.y, 8);
    metrics.button_width = MulDiv64(50, units.x, 4);
    metrics.button_height = MulDiv64(14, units.y, 8);
    metrics.button_gap = MulDiv64(4, units.x, 4);
    return metrics;
}

int WidestButton(int minimum_width, TMessageButtons buttons, ButtonWidthCache& cache,
                 const std::function<int(MessageButton)>& measure_caption) {
    int width = minimum_width;
    for (int row = 0; row < MessageButtonCount; ++row) {
        const auto button = static_cast<MessageButton>(row);
        if (!HasButton(buttons, button))
            continue;
        int& cached = cache[static_cast<std::size_t>(row)];
        if (cached == 0)
            cached = measure_caption(button) + 8;
        width = std::max(width, cached);
    }
    return width;
}

MessageFormLayout LayOutMessageForm(const MessageFormMetrics& metrics, int text_width,
                                    int text_height, bool has_icon, int button_count,
                                    int button_width) {
    int block_width = text_width;
    int block_height = text_height;
    if (has_icon) {
        block_width += metrics.icon_gap + MessageIconSize;
        block_height = std::max(block_height, MessageIconSize);
    }
    const int group_width =
        button_count == 0 ? 0
                          : button_width * button_count + metrics.button_gap * (button_count - 1);
    MessageFormLayout layout;
    layout.client_width = std::max(block_width, group_width) + 2 * metrics.side_margin;
    layout.client_height =
        block_height + metrics.button_height + metrics.row_gap + 2 * metrics.top_margin;
    layout.icon = {metrics.side_margin, metrics.top_margin, MessageIconSize, MessageIconSize};
    // The text starts after the icon and its gap, at the top margin: not centred on the icon.
    layout.text = {block_width - text_width + metrics.side_margin, metrics.top_margin, text_width,
                   text_height};
    int x = (layout.client_width - group_width) / 2;
    const int y = block_height + metrics.top_margin + metrics.row_gap;
    for (int i = 0; i < button_count; ++i) {
        layout.buttons.push_back({x, y, button_width, metrics.button_height});
        x += button_width + metrics.button_gap;
    }
    return layout;
}

FormPosition CentredOnScreen(int screen_width, int screen_height, int outer_width,
                             int outer_height) {
    return {screen_width / 2 - outer_width / 2, screen_height / 2 - outer_height / 2};
}

} // namespace kv
