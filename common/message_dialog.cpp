#include "message_dialog.h"

#include "application.h"
#include "export_barrier.h"
#include "text_conversion.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Layout in pixels; the exact layout of the library's dialog form comes with the dialog form.
constexpr int Margin = 12;
constexpr int IconSize = 32;
constexpr int TextMaxWidth = 420;
constexpr int ButtonMinWidth = 75;
constexpr int ButtonHeight = 23;
constexpr int ButtonGap = 6;
constexpr int ButtonTextPadding = 20;
constexpr int TextId = 90;
constexpr int IconId = 91;

struct DialogState {
    std::wstring text;
    TMessageKind kind;
    TMessageButtons buttons;
};

int ButtonId(MessageButton button) {
    return MessageButtonFirstId + static_cast<int>(button);
}

SIZE MeasureText(HWND dialog, HFONT font, const std::wstring& text, UINT flags, int max_width) {
    RECT rect = {0, 0, max_width, 0};
    HDC dc = GetDC(dialog);
    HGDIOBJ previous = SelectObject(dc, font);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags | DT_CALCRECT);
    SelectObject(dc, previous);
    ReleaseDC(dialog, dc);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

HWND AddControl(HWND dialog, HFONT font, const wchar_t* window_class, const std::wstring& text,
                DWORD style, int id, RECT bounds) {
    HWND control = CreateWindowExW(
        0, window_class, text.c_str(), WS_CHILD | WS_VISIBLE | style, bounds.left, bounds.top,
        bounds.right - bounds.left, bounds.bottom - bounds.top, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

// Places the dialog over its owner (or the screen) at the client size asked for.
void PlaceDialog(HWND dialog, int client_width, int client_height) {
    RECT frame = {0, 0, client_width, client_height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT area;
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (!owner || !IsWindowVisible(owner) || IsIconic(owner))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    else
        GetWindowRect(owner, &area);
    const int left = std::max<int>(0, area.left + (area.right - area.left - width) / 2);
    const int top = std::max<int>(0, area.top + (area.bottom - area.top - height) / 2);
    SetWindowPos(dialog, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void BuildDialog(HWND dialog, const DialogState& state) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    const MessageKindInfo& kind = KindInfo(state.kind);
    SetWindowTextW(dialog, state.kind == mkCustom ? Application().Title().c_str()
                                                  : WideFromUtf8(kind.caption).c_str());

    int text_left = Margin;
    if (kind.system_icon) {
        HWND icon = AddControl(dialog, font, L"STATIC", L"", SS_ICON, IconId,
                               {Margin, Margin, Margin + IconSize, Margin + IconSize});
        SendMessageW(
            icon, STM_SETICON,
            reinterpret_cast<WPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(kind.system_icon))), 0);
        text_left += IconSize + Margin;
    }
    const UINT text_flags = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
    const SIZE text = MeasureText(dialog, font, state.text, text_flags, TextMaxWidth);
    AddControl(dialog, font, L"STATIC", state.text, SS_LEFT | SS_NOPREFIX, TextId,
               {text_left, Margin, text_left + text.cx, Margin + text.cy});

    std::vector<MessageButton> shown;
    int button_width = ButtonMinWidth;
    for (int index = 0; index < MessageButtonCount; ++index) {
        const auto button = static_cast<MessageButton>(index);
        if (!HasButton(state.buttons, button))
            continue;
        shown.push_back(button);
        const SIZE caption = MeasureText(dialog, font, WideFromUtf8(ButtonInfo(button).caption),
                                         DT_SINGLELINE | DT_NOPREFIX, 0);
        button_width = std::max(button_width, static_cast<int>(caption.cx) + ButtonTextPadding);
    }
    const int row_width = shown.empty() ? 0
                                        : static_cast<int>(shown.size()) * button_width +
                                              (static_cast<int>(shown.size()) - 1) * ButtonGap;
    const int content_height = std::max(static_cast<int>(text.cy), kind.system_icon ? IconSize : 0);
    const int client_width =
        std::max(text_left + static_cast<int>(text.cx), Margin + row_width) + Margin;
    const int buttons_top = Margin + content_height + Margin;
    const int client_height = buttons_top + (shown.empty() ? 0 : ButtonHeight + Margin);

    const std::optional<MessageButton> default_button = DefaultButton(state.buttons);
    int left = (client_width - row_width) / 2;
    HWND first = nullptr;
    for (MessageButton button : shown) {
        const DWORD style =
            WS_TABSTOP | (button == default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        HWND control = AddControl(
            dialog, font, L"BUTTON", WideFromUtf8(ButtonInfo(button).caption), style,
            ButtonId(button), {left, buttons_top, left + button_width, buttons_top + ButtonHeight});
        if (!first)
            first = control;
        left += button_width + ButtonGap;
    }
    PlaceDialog(dialog, client_width, client_height);

    // Focus starts on the default button, so Enter presses it; without one, on the first.
    if (default_button) {
        SendMessageW(dialog, DM_SETDEFID, ButtonId(*default_button), 0);
        SetFocus(GetDlgItem(dialog, ButtonId(*default_button)));
    } else if (first) {
        SetFocus(first);
    }
}

INT_PTR CALLBACK MessageDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* state = reinterpret_cast<const DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lparam);
        try {
            BuildDialog(dialog, *reinterpret_cast<const DialogState*>(lparam));
        } catch (...) {
            Application().HandleException(std::current_exception());
        }
        return FALSE; // focus set above
    case WM_CLOSE:
        EndDialog(dialog, CloseBoxResult);
        return TRUE;
    case WM_COMMAND: {
        if (!state)
            return FALSE;
        const int id = LOWORD(wparam);
        std::optional<MessageButton> pressed;
        if (id == IDCANCEL) // Escape
            pressed = CancelButton(state->buttons);
        else if (id >= MessageButtonFirstId && id < MessageButtonFirstId + MessageButtonCount)
            pressed = static_cast<MessageButton>(id - MessageButtonFirstId);
        if (pressed && HasButton(state->buttons, *pressed) && ButtonInfo(*pressed).result != 0)
            EndDialog(dialog, ButtonInfo(*pressed).result);
        return TRUE;
    }
    }
    return FALSE;
}

// A dialog template with no controls: they are made at WM_INITDIALOG, sized to the text.
std::vector<WORD> EmptyDialogTemplate() {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog->cdit = 0;
    dialog->cx = 100;
    dialog->cy = 50;
    words.push_back(0); // no menu
    words.push_back(0); // the platform's dialog class
    words.push_back(0); // title set at WM_INITDIALOG
    words.push_back(8); // point size
    for (const wchar_t* name = L"MS Shell Dlg"; *name; ++name)
        words.push_back(static_cast<WORD>(*name));
    words.push_back(0);
    return words;
}

} // namespace

std::uint16_t ShowMessageDlg(std::wstring_view text, TMessageKind kind, TMessageButtons buttons,
                             HWND owner) {
    if (!owner)
        owner = GetActiveWindow();
    if (!owner)
        owner = Application().Handle();
    const DialogState state{std::wstring(text), kind, buttons};
    const std::vector<WORD> dialog = EmptyDialogTemplate();
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), owner,
        MessageDialogProc, reinterpret_cast<LPARAM>(&state));
    if (result == -1)
        throw LibraryError(HRESULT_FROM_WIN32(GetLastError()), L"Не удалось показать сообщение");
    return static_cast<std::uint16_t>(result);
}

std::uint16_t ShowMessageDlg(std::string_view text, TMessageKind kind, TMessageButtons buttons,
                             HWND owner) {
    return ShowMessageDlg(WideFromAnsi(text), kind, buttons, owner);
}
