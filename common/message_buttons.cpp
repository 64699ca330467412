#include "common/message_buttons.h"

#include <initializer_list>

namespace kv {

namespace {

constexpr MessageButtonInfo buttons[MessageButtonCount] = {
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

// Icons are the platform's standard ones, by their numeric identifiers.
constexpr MessageKindInfo kinds[] = {
    {"Предупреждение", 32515}, {"Ошибка", 32513}, {"Информация", 32516},
    {"Подтверждение", 32514},  {"", 0},
};

std::optional<MessageButton> FirstPresent(TMessageButtons set,
                                          std::initializer_list<MessageButton> candidates) {
    for (MessageButton button : candidates)
        if (HasButton(set, button))
            return button;
    return std::nullopt;
}

} // namespace

const MessageButtonInfo& ButtonInfo(MessageButton button) {
    return buttons[static_cast<int>(button)];
}

const MessageKindInfo& KindInfo(TMessageKind kind) {
    return kind <= mkCustom ? kinds[kind] : kinds[mkCustom];
}

bool HasButton(TMessageButtons set, MessageButton button) {
    return (set & ButtonBit(button)) != 0;
}

std::optional<MessageButton> DefaultButton(TMessageButtons set) {
    return FirstPresent(set, {MessageButton::OK, MessageButton::Yes, MessageButton::Retry});
}

std::optional<MessageButton> CancelButton(TMessageButtons set) {
    return FirstPresent(set, {MessageButton::Cancel, MessageButton::No, MessageButton::OK});
}

} // namespace kv
