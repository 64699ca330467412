// Captions, result codes and the default and cancel roles of the message dialog's buttons.
#include "common/message_buttons.h"

#include <gtest/gtest.h>

#include <string>

using namespace kv;

namespace {

constexpr TMessageButtons Set(std::initializer_list<MessageButton> buttons) {
    TMessageButtons set = 0;
    for (MessageButton button : buttons)
        set |= ButtonBit(button);
    return set;
}

using B = MessageButton;

struct RoleCase {
    TMessageButtons buttons;
    std::optional<MessageButton> default_button;
    std::optional<MessageButton> cancel_button;
};

class ButtonRoles : public testing::TestWithParam<RoleCase> {};

TEST_P(ButtonRoles, DefaultAndCancelFollowThePriorityOrder) {
    const RoleCase& c = GetParam();
    EXPECT_EQ(DefaultButton(c.buttons), c.default_button) << "set " << c.buttons;
    EXPECT_EQ(CancelButton(c.buttons), c.cancel_button) << "set " << c.buttons;
}

INSTANTIATE_TEST_SUITE_P(
    Sets, ButtonRoles,
    testing::Values(RoleCase{mbOK, B::OK, B::OK}, RoleCase{mbYesNo, B::Yes, B::No},
                    RoleCase{mbYesNoCancel, B::Yes, B::Cancel},
                    RoleCase{Set({B::Yes, B::OK}), B::OK, B::OK},
                    RoleCase{Set({B::Abort, B::Retry, B::Ignore}), B::Retry, std::nullopt},
                    RoleCase{Set({B::No, B::Cancel}), std::nullopt, B::Cancel},
                    RoleCase{Set({B::Help}), std::nullopt, std::nullopt},
                    RoleCase{0, std::nullopt, std::nullopt}));

TEST(MessageButtons, CallersSetsHaveTheirDocumentedValues) {
    EXPECT_EQ(mbOK, 4);
    EXPECT_EQ(mbYesNo, 3);
    EXPECT_EQ(mbYesNoCancel, 11);
}

TEST(MessageButtons, CaptionsAndResultCodesInTableOrder) {
    struct Expected {
        const char* name;
        const char* caption;
        int result;
    };
    const Expected expected[MessageButtonCount] = {
        {"Yes", "Да", 6},
        {"No", "Нет", 7},
        {"OK", "OK", 1},
        {"Cancel", "Отмена", 2},
        {"Abort", "Прервать", 3},
        {"Retry", "Повторить", 4},
        {"Ignore", "Игнорировать", 5},
        {"All", "Все", 8},
        {"NoToAll", "Нет для всех", 9},
        {"YesToAll", "Да для всех", 10},
        {"Help", "Помощь", 0},
    };
    for (int bit = 0; bit < MessageButtonCount; ++bit) {
        const MessageButtonInfo& info = ButtonInfo(static_cast<MessageButton>(bit));
        EXPECT_EQ(info.component_name, expected[bit].name) << "bit " << bit;
        EXPECT_EQ(info.caption, expected[bit].caption) << "bit " << bit;
        EXPECT_EQ(info.result, expected[bit].result) << "bit " << bit;
    }
}

TEST(MessageKinds, CaptionsAndSystemIcons) {
    EXPECT_EQ(KindInfo(mkWarning).caption, "Предупреждение");
    EXPECT_EQ(KindInfo(mkWarning).system_icon, 32515);
    EXPECT_EQ(KindInfo(mkError).caption, "Ошибка");
    EXPECT_EQ(KindInfo(mkError).system_icon, 32513);
    EXPECT_EQ(KindInfo(mkInformation).caption, "Информация");
    EXPECT_EQ(KindInfo(mkInformation).system_icon, 32516);
    EXPECT_EQ(KindInfo(mkConfirmation).caption, "Подтверждение");
    EXPECT_EQ(KindInfo(mkConfirmation).system_icon, 32514);
    EXPECT_EQ(KindInfo(mkCustom).system_icon, 0);
}

TEST(MessageKinds, UnknownKindIsShownAsCustom) {
    EXPECT_EQ(&KindInfo(static_cast<TMessageKind>(200)), &KindInfo(mkCustom));
}

} // namespace
