// What Ctrl+C copies from the message dialog, and which keys copy.
#include "common/message_clipboard_text.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

TEST(MessageClipboardText, FramesCaptionTextAndButtons) {
    const std::string divider = "---------------------------\r\n";
    const std::string expected = divider + "Caption\r\n" + divider + "Text <!bold>b</bold>\r\n" +
                                 divider + "Yes   No   Cancel   \r\n" + divider;
    EXPECT_EQ(MessageClipboardText("Caption", "Text <!bold>b</bold>", {"&Yes", "No", "Can&cel"}),
              expected);
}

TEST(MessageClipboardText, WithoutButtonsTheButtonLineIsEmpty) {
    const std::string divider = "---------------------------\r\n";
    EXPECT_EQ(MessageClipboardText("", "", {}),
              divider + "\r\n" + divider + "\r\n" + divider + "\r\n" + divider);
}

TEST(CopyShortcut, IsCtrlCAlone) {
    EXPECT_TRUE(IsCopyShortcut('C', true, false, false));
    EXPECT_FALSE(IsCopyShortcut('C', true, true, false)); // Ctrl+Shift+C
    EXPECT_FALSE(IsCopyShortcut('C', true, false, true)); // Ctrl+Alt+C
    EXPECT_FALSE(IsCopyShortcut('C', false, false, false));
    EXPECT_FALSE(IsCopyShortcut('V', true, false, false));
}

} // namespace
