// The message kinds and buttons of ShowMessageDlg: captions, result codes and the default and
// cancel roles. Pure: no Windows header. Captions are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kv {

enum TMessageKind : std::uint8_t {
    mkWarning = 0,
    mkError = 1,
    mkInformation = 2,
    mkConfirmation = 3,
    mkCustom = 4,
};

// The buttons, in their table order (the order in which they are laid out, left to right).
enum class MessageButton : std::uint8_t {
    Yes,
    No,
    OK,
    Cancel,
    Abort,
    Retry,
    Ignore,
    All,
    NoToAll,
    YesToAll,
    Help,
};
constexpr int MessageButtonCount = 11;

// A set of buttons: bit i stands for MessageButton i.
using TMessageButtons = std::uint16_t;

constexpr TMessageButtons ButtonBit(MessageButton button) {
    return static_cast<TMessageButtons>(1u << static_cast<unsigned>(button));
}
constexpr TMessageButtons mbOK = ButtonBit(MessageButton::OK);
constexpr TMessageButtons mbYesNo = ButtonBit(MessageButton::Yes) | ButtonBit(MessageButton::No);
constexpr TMessageButtons mbYesNoCancel = mbYesNo | ButtonBit(MessageButton::Cancel);

// What closing by the close box (or Alt+F4) returns.
constexpr std::uint16_t CloseBoxResult = 2;

struct MessageButtonInfo {
    std::string_view component_name;
    std::string_view caption;
    std::uint16_t result; // 0: the button does not close the dialog
};
const MessageButtonInfo& ButtonInfo(MessageButton button);

struct MessageKindInfo {
    std::string_view caption; // empty for mkCustom: the application's title is used
    int system_icon;          // 0: no icon
};
// An unknown kind is shown as mkCustom.
const MessageKindInfo& KindInfo(TMessageKind kind);

bool HasButton(TMessageButtons buttons, MessageButton button);
// Enter presses the default button: OK, else Yes, else Retry, when in the set.
std::optional<MessageButton> DefaultButton(TMessageButtons buttons);
// Escape presses the cancel button: Cancel, else No, else OK, when in the set.
std::optional<MessageButton> CancelButton(TMessageButtons buttons);

} // namespace kv
