#include "common/message_form.h"

#include "common/application.h"
#include "common/draw_markup_text.h"
#include "common/font_scale.h"
#include "common/message_clipboard_text.h"
#include "common/message_dialog.h"
#include "common/message_form_layout.h"
#include "platform/barriers.h"
#include "platform/text_conversion.h"
#include "platform/win_owners.h"
#include "platform/window_barrier.h"

#include <commctrl.h>

#include <cstring>

namespace kv {

namespace {

// The system's own face, used by the form and its text.
constexpr const wchar_t* FormFontName = L"Vevevededed";
constexpr int FormFontHeight = -11;

// Measured once per button row for the life of the process.
ButtonWidthCache button_widths{};

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HWND AddControl(HWND dialog, const wchar_t* window_class, const std::wstring& text, DWORD style,
                int id, const FormRect& bounds, HFONT font) {
    HWND control = CreateWindowExW(0, window_class, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                                   bounds.left, bounds.top, bounds.width, bounds.height, dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (!control)
        throw LibraryError(HRESULT_FROM_WIN32(GetLastError()), L"Не удалось создать элемент окна");
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

// The clipboard, open for a scope.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) {
        if (!OpenClipboard(owner))
            throw LibraryError(E_UNEXPECTED, L"Cannot open clipboard");
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    ~OpenedClipboard() { CloseClipboard(); }
};

// A dialog template without controls: they are made at WM_INITDIALOG, sized by the text.
std::vector<WORD> EmptyDialogTemplate() {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    dialog->cx = 100;
    dialog->cy = 50;
    words.push_back(0); // no menu
    words.push_back(0); // the platform's dialog class
    words.push_back(0); // the caption is set at WM_INITDIALOG
    return words;
}

} // namespace

TMessageForm::TMessageForm(std::string text, std::wstring shown_text, TMessageKind kind,
                           TMessageButtons buttons)
    : text_(std::move(text)), shown_text_(std::move(shown_text)), kind_(kind), buttons_(buttons) {}

std::uint16_t TMessageForm::ShowModal(HWND parent) {
    const std::vector<WORD> dialog = EmptyDialogTemplate();
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), parent,
        DialogProcedure, reinterpret_cast<LPARAM>(this));
    if (result == -1)
        throw LibraryError(HRESULT_FROM_WIN32(GetLastError()), L"Не удалось показать сообщение");
    if (build_error_)
        std::rethrow_exception(build_error_);
    return static_cast<std::uint16_t>(result);
}

MessageFormLayout TMessageForm::MeasureLayout() const {
    MessageFormMetrics metrics;
    int button_width = 0;
    {
        WindowDC canvas(dialog_);
        ObjectSelection font(canvas.Get(), form_font_.Get());
        SIZE sample{};
        GetTextExtentPoint32A(canvas.Get(), DialogUnitSample.data(),
                              static_cast<int>(DialogUnitSample.size()), &sample);
        metrics = MessageFormMetricsFor(DialogUnitsFromExtent(sample.cx, sample.cy));
        button_width =
            WidestButton(metrics.button_width, buttons_, button_widths, [&](MessageButton button) {
                const std::wstring caption = WideFromUtf8(ButtonInfo(button).caption);
                RECT bounds{};
                DrawTextW(canvas.Get(), caption.c_str(), static_cast<int>(caption.size()), &bounds,
                          DT_CALCRECT | DT_SINGLELINE);
                return static_cast<int>(bounds.right - bounds.left);
            });
    }
    RECT text_size{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
    {
        WindowDC screen(nullptr);
        ObjectSelection font(screen.Get(), form_font_.Get());
        DrawMarkupText(screen.Get(), text_, 0, 0, true, true, true, text_size);
    }
    int button_count = 0;
    for (int row = 0; row < MessageButtonCount; ++row)
        button_count += HasButton(buttons_, static_cast<MessageButton>(row)) ? 1 : 0;
    return LayOutMessageForm(metrics, text_size.right, text_size.bottom,
                             KindInfo(kind_).system_icon != 0, button_count, button_width);
}

void TMessageForm::Build(HWND dialog) {
    dialog_ = dialog;
    form_font_ = MakeScaledFont(FormFontName, FormFontHeight);
    button_font_ = MakeScaledFont(DefaultFontName(), FormFontHeight);
    const MessageFormLayout layout = MeasureLayout();
    const MessageKindInfo& kind = KindInfo(kind_);

    RECT frame{0, 0, layout.client_width, layout.client_height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const int outer_width = frame.right - frame.left;
    const int outer_height = frame.bottom - frame.top;
    const FormPosition position = CentredOnScreen(
        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), outer_width, outer_height);
    SetWindowPos(dialog, nullptr, position.left, position.top, outer_width, outer_height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextW(dialog, kind_ == mkCustom ? Application().DisplayTitle().c_str()
                                             : WideFromUtf8(kind.caption).c_str());

    if (kind.system_icon) {
        HWND icon = AddControl(dialog, L"STATIC", L"", SS_ICON, MessageIconId, layout.icon,
                               form_font_.Get());
        SetWindowPos(icon, nullptr, 0, 0, MessageIconSize, MessageIconSize,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(
            icon, STM_SETICON,
            reinterpret_cast<WPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(kind.system_icon))), 0);
    }
    text_rect_ = {layout.text.left, layout.text.top, layout.text.left + layout.text.width,
                  layout.text.top + layout.text.height};
    // The text is drawn by the form; the control carries it for automation.
    AddControl(dialog, L"STATIC", shown_text_, SS_OWNERDRAW, MessageTextId, layout.text,
               form_font_.Get());

    const std::optional<MessageButton> default_button = DefaultButton(buttons_);
    std::size_t index = 0;
    for (int row = 0; row < MessageButtonCount; ++row) {
        const auto button = static_cast<MessageButton>(row);
        if (!HasButton(buttons_, button))
            continue;
        const DWORD style =
            WS_TABSTOP | (button == default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        HWND control =
            AddControl(dialog, L"BUTTON", WideFromUtf8(ButtonInfo(button).caption), style,
                       MessageButtonFirstId + row, layout.buttons[index++], button_font_.Get());
        SetWindowSubclass(control, KeyPreview, 0, reinterpret_cast<DWORD_PTR>(this));
        push_buttons_.push_back(control);
    }
    // Focus starts on the default button, so Enter presses it; without one, on the first.
    if (default_button) {
        SendMessageW(dialog, DM_SETDEFID, MessageButtonFirstId + static_cast<int>(*default_button),
                     0);
        SetFocus(GetDlgItem(dialog, MessageButtonFirstId + static_cast<int>(*default_button)));
    } else if (!push_buttons_.empty()) {
        SetFocus(push_buttons_.front());
    }
}

void TMessageForm::PaintText(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    ObjectSelection font(dc, form_font_.Get());
    ObjectSelection brush(dc, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT bounds = item.rcItem; // the text rectangle, in the text control's coordinates
    DrawMarkupText(dc, text_, 0, 0, false, true, true, bounds);
}

void TMessageForm::KeyDown(WPARAM key) {
    if (IsCopyShortcut(static_cast<unsigned>(key), GetKeyState(VK_CONTROL) < 0,
                       GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0))
        CopyToClipboard();
}

void TMessageForm::CopyToClipboard() {
    MessageBeep(0);
    std::vector<std::string> captions;
    for (HWND button : push_buttons_)
        captions.push_back(ShownAnsiFromWide(TextOf(button)));
    const std::string text = MessageClipboardText(ShownAnsiFromWide(TextOf(dialog_)), text_, captions);

    OpenedClipboard clipboard(dialog_);
    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!block)
        throw LibraryError(E_OUTOFMEMORY, L"Недостаточно памяти");
    if (void* memory = GlobalLock(block.Get())) {
        std::memcpy(memory, text.c_str(), text.size() + 1);
        GlobalUnlock(block.Get());
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_TEXT, block.Get()))
        throw LibraryError(HRESULT_FROM_WIN32(GetLastError()), L"Cannot set clipboard data");
    block.Release(); // the clipboard owns it now
}

void TMessageForm::Command(int id) {
    std::optional<MessageButton> pressed;
    if (id == IDCANCEL) // Escape
        pressed = CancelButton(buttons_);
    else if (id >= MessageButtonFirstId && id < MessageButtonFirstId + MessageButtonCount)
        pressed = static_cast<MessageButton>(id - MessageButtonFirstId);
    if (!pressed || !HasButton(buttons_, *pressed))
        return;
    if (*pressed == MessageButton::Help) {
        Application().HelpContext(0); // the dialog's help context, which stays 0
        return;
    }
    EndDialog(dialog_, ButtonInfo(*pressed).result);
}

INT_PTR CALLBACK TMessageForm::DialogProcedure(HWND dialog, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
    auto* form = reinterpret_cast<TMessageForm*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lparam);
        form = reinterpret_cast<TMessageForm*>(lparam);
        RunWindowHandler([&] {
            try {
                form->Build(dialog);
            } catch (...) { // passed to the caller of ShowModal
                form->build_error_ = std::current_exception();
                EndDialog(dialog, CloseBoxResult);
            }
        });
        return FALSE; // the focus is set
    case WM_CLOSE:
        EndDialog(dialog, CloseBoxResult);
        return TRUE;
    case WM_COMMAND:
        if (form)
            RunWindowHandler([&] { form->Command(LOWORD(wparam)); });
        return TRUE;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
        if (!form || item->CtlID != MessageTextId)
            return FALSE;
        RunWindowHandler([&] { form->PaintText(*item); });
        return TRUE;
    }
    case WM_GETFONT: // the form's font, for whoever measures like the form
        if (!form)
            return FALSE;
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT,
                          reinterpret_cast<LONG_PTR>(form->form_font_.Get()));
        return TRUE;
    case WM_KEYDOWN: // the dialog itself has the focus when it has no buttons
        if (form)
            RunWindowHandler([&] { form->KeyDown(wparam); });
        return TRUE;
    case WM_DESTROY:
        if (form)
            for (HWND button : form->push_buttons_)
                RemoveWindowSubclass(button, KeyPreview, 0);
        return FALSE;
    }
    return FALSE;
}

// Keys reach the form before the focused button, as with a form's key preview.
LRESULT CALLBACK TMessageForm::KeyPreview(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                          UINT_PTR id, DWORD_PTR form) {
    if (message == WM_KEYDOWN)
        RunWindowHandler([&] { reinterpret_cast<TMessageForm*>(form)->KeyDown(wparam); });
    return DefSubclassProc(window, message, wparam, lparam);
}

} // namespace kv
