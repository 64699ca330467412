// The message dialog's geometry from measured inputs (dialog units, text extent, caption widths).
#include "common/message_form_layout.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

TEST(DialogUnits, AreTheAverageLetterWidthAndTheHeight) {
    const DialogUnits units = DialogUnitsFromExtent(317, 13); // 317 / 52 = 6.1
    EXPECT_EQ(units.x, 6);
    EXPECT_EQ(units.y, 13);
}

TEST(MessageFormMetrics, FollowDialogUnitsRoundedToNearest) {
    const MessageFormMetrics six = MessageFormMetricsFor({6, 13});
    EXPECT_EQ(six.side_margin, 12);
    EXPECT_EQ(six.top_margin, 13);
    EXPECT_EQ(six.icon_gap, 15);
    EXPECT_EQ(six.row_gap, 16); // 16.25
    EXPECT_EQ(six.button_width, 75);
    EXPECT_EQ(six.button_height, 23); // 22.75
    EXPECT_EQ(six.button_gap, 6);

    const MessageFormMetrics seven = MessageFormMetricsFor({7, 12});
    EXPECT_EQ(seven.icon_gap, 18);     // 17.5: halves away from zero
    EXPECT_EQ(seven.button_width, 88); // 87.5
    EXPECT_EQ(seven.row_gap, 15);      // 15
    EXPECT_EQ(seven.button_height, 21);
}

const MessageFormMetrics metrics = MessageFormMetricsFor({6, 13});

TEST(MessageFormLayout, IconKindPutsTheTextAfterTheIconAtTheTop) {
    const MessageFormLayout layout = LayOutMessageForm(metrics, 100, 13, true, 1, 75);
    EXPECT_EQ(layout.client_width, 12 + 32 + 15 + 100 + 12);
    EXPECT_EQ(layout.client_height, 13 + 32 + 16 + 23 + 13); // the block is the icon's height
    EXPECT_EQ(layout.icon, (FormRect{12, 13, 32, 32}));
    EXPECT_EQ(layout.text, (FormRect{12 + 32 + 15, 13, 100, 13}));
    ASSERT_EQ(layout.buttons.size(), 1u);
    EXPECT_EQ(layout.buttons[0], (FormRect{(171 - 75) / 2, 32 + 13 + 16, 75, 23}));
}

TEST(MessageFormLayout, WithoutIconTheTextStartsAtTheSideMargin) {
    const MessageFormLayout layout = LayOutMessageForm(metrics, 200, 52, false, 1, 75);
    EXPECT_EQ(layout.text, (FormRect{12, 13, 200, 52}));
    EXPECT_EQ(layout.client_width, 224);
    EXPECT_EQ(layout.client_height, 13 + 52 + 16 + 23 + 13);
    EXPECT_EQ(layout.buttons[0].top, 52 + 13 + 16);
}

TEST(MessageFormLayout, ButtonRowWiderThanTheTextSetsTheWidth) {
    const MessageFormLayout layout = LayOutMessageForm(metrics, 20, 13, false, 3, 80);
    const int group = 3 * 80 + 2 * 6;
    EXPECT_EQ(layout.client_width, group + 24);
    const std::vector<FormRect> expected = {
        {12, 42, 80, 23}, {12 + 86, 42, 80, 23}, {12 + 172, 42, 80, 23}};
    EXPECT_EQ(layout.buttons, expected);
}

TEST(MessageFormLayout, NoButtonsStillKeepsTheButtonRowHeight) {
    const MessageFormLayout layout = LayOutMessageForm(metrics, 50, 13, false, 0, 75);
    EXPECT_TRUE(layout.buttons.empty());
    EXPECT_EQ(layout.client_width, 74);
    EXPECT_EQ(layout.client_height, 13 + 13 + 16 + 23 + 13);
}

TEST(MessageFormLayout, IsCentredOnTheScreenByItsOuterSize) {
    EXPECT_EQ(CentredOnScreen(1024, 768, 301, 151), (FormPosition{512 - 150, 384 - 75}));
    EXPECT_EQ(CentredOnScreen(1024, 768, 2000, 100), (FormPosition{512 - 1000, 384 - 50}));
}

TEST(ButtonWidthCache, MeasuresEachCaptionOnceForTheProcess) {
    ButtonWidthCache cache{};
    std::vector<MessageButton> measured;
    auto measure = [&](MessageButton button) {
        measured.push_back(button);
        return button == MessageButton::Ignore ? 90 : 30;
    };
    EXPECT_EQ(WidestButton(75, mbYesNo, cache, measure), 75);
    EXPECT_EQ(cache[0], 38);
    EXPECT_EQ(cache[1], 38);
    // A caption wider than the minimum widens every button of the dialog...
    const TMessageButtons with_ignore = mbOK | ButtonBit(MessageButton::Ignore);
    EXPECT_EQ(WidestButton(75, with_ignore, cache, measure), 98);
    // ...and of every later dialog holding that button, without measuring again.
    EXPECT_EQ(WidestButton(75, mbYesNo | ButtonBit(MessageButton::Ignore), cache, measure), 98);
    EXPECT_EQ(WidestButton(75, mbYesNo, cache, measure), 75);
    const std::vector<MessageButton> expected = {MessageButton::Yes, MessageButton::No,
                                                 MessageButton::OK, MessageButton::Ignore};
    EXPECT_EQ(measured, expected);
}

} // namespace
