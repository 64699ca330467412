// ShowMessageDlg: every message the library shows goes through it (never the platform's
// message box). A modal dialog (TMessageForm) with the kind's caption and icon, the text (which
// may carry markup tags) and the buttons; returns the result code of the button that closed it
// (2 for the close box). Ctrl+C copies the dialog's texts to the clipboard.
#pragma once

#include "common/message_buttons.h"

#include <windows.h>

#include <cstdint>
#include <string_view>

namespace kv {

// An owner of 0 means the calling thread's active window. While the application object has a
// window of its own, that window owns the dialog.
std::uint16_t ShowMessageDlg(std::wstring_view text, TMessageKind kind, TMessageButtons buttons,
                             HWND owner);
// The same for 8-bit text in the process ANSI code page.
std::uint16_t ShowMessageDlg(std::string_view text, TMessageKind kind, TMessageButtons buttons,
                             HWND owner);

// The window class of the dialog (the platform's dialog class), for tests and automation.
constexpr const wchar_t* MessageDialogClass = L"#32770";
// Control identifier of a button: the first button has this plus its table index.
constexpr int MessageButtonFirstId = 100;

} // namespace kv
