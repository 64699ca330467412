#include "common/message_dialog.h"

#include "common/application.h"
#include "common/message_form.h"
#include "platform/text_conversion.h"

namespace kv {

namespace {

// The form is owned by the application's window when it has one; otherwise by the owner given.
HWND FormParent(HWND owner) {
    if (HWND application = Application().Handle())
        return application;
    return owner;
}

} // namespace

std::uint16_t ShowMessageDlg(std::wstring_view text, TMessageKind kind, TMessageButtons buttons,
                             HWND owner) {
    if (!owner)
        owner = GetActiveWindow();
    TMessageForm form(ShownAnsiFromWide(text), std::wstring(text), kind, buttons);
    return form.ShowModal(FormParent(owner));
}

std::uint16_t ShowMessageDlg(std::string_view text, TMessageKind kind, TMessageButtons buttons,
                             HWND owner) {
    if (!owner)
        owner = GetActiveWindow();
    TMessageForm form(std::string(text), WideFromAnsi(text), kind, buttons);
    return form.ShowModal(FormParent(owner));
}

} // namespace kv
