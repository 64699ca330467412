#include "common/hint_window.h"

#include "common/application.h"
#include "common/draw_markup_text.h"
#include "common/font_scale.h"
#include "platform/barriers.h"
#include "platform/gdi_owners.h"
#include "platform/module_path.h"
#include "platform/text_conversion.h"
#include "platform/window_barrier.h"

#include <new>
#include <string>

namespace kv {

namespace {

constexpr int HintFontHeight = -11;

bool hint_class_registered = false;

// What every hint window keeps: its canvas font.
struct HintState {
    FontOwner font = MakeScaledFont(L"Vevevededed", HintFontHeight);
};

HintState* StateOf(HWND window) {
    return reinterpret_cast<HintState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

std::string AnsiWindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return ShownAnsiFromWide(text);
}

// The client rectangle less 2 pixels at the left and top, filled with the info-tip colour and
// the window's text drawn with markup.
void PaintHint(HWND window, const HintState& state) {
    PaintSession paint(window);
    RECT bounds{};
    GetClientRect(window, &bounds);
    bounds.left += 2;
    bounds.top += 2;
    ObjectSelection font(paint.Get(), state.font.Get());
    ObjectSelection brush(paint.Get(), GetSysColorBrush(COLOR_INFOBK));
    SetBkMode(paint.Get(), TRANSPARENT);
    SetTextColor(paint.Get(), GetSysColor(COLOR_INFOTEXT));
    DrawMarkupText(paint.Get(), AnsiWindowText(window), 1, 0, false, true, true, bounds);
}

LRESULT CALLBACK HintWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_NCCREATE: {
        HintState* state = nullptr;
        RunWindowHandler([&] { state = new HintState(); });
        if (!state)
            return FALSE; // the window is not made
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
        break;
    }
    case WM_NCDESTROY:
        delete StateOf(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    case WM_GETFONT:
        if (HintState* state = StateOf(window))
            return reinterpret_cast<LRESULT>(state->font.Get());
        break;
    case WM_PAINT:
        if (HintState* state = StateOf(window)) {
            if (!RunWindowHandler([&] { PaintHint(window, *state); }))
                ValidateRect(window, nullptr); // a failed paint is not asked for again at once
            return 0;
        }
        break;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void RegisterHintWindowClass() {
    if (hint_class_registered)
        return;
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    // The framework's hint window class without its drop shadow.
    window_class.style = CS_SAVEBITS;
    window_class.lpfnWndProc = HintWindowProcedure;
    window_class.hInstance = ThisModule();
    window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // arrow
    window_class.hbrBackground = GetSysColorBrush(COLOR_INFOBK);
    window_class.lpszClassName = HintWindowClassName;
    // A class left behind by an earlier load of the library would point at freed code.
    UnregisterClassW(HintWindowClassName, ThisModule());
    if (!RegisterClassExW(&window_class))
        throw LibraryError(HRESULT_FROM_WIN32(GetLastError()),
                           L"Не удалось зарегистрировать класс окна подсказки");
    hint_class_registered = true;
}

} // namespace

void InstallHintWindowClass() {
    RegisterHintWindowClass();
    // No hint window exists before start-up, so none has to be made again from the new class.
    Application().SetHintWindowClass(HintWindowClassName);
}

THintWindowEx::THintWindowEx(HWND owner) {
    RegisterHintWindowClass();
    window_.Reset(
        CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, HintWindowClassName, L"",
                        WS_POPUP | WS_BORDER, 0, 0, 0, 0, owner, nullptr, ThisModule(), nullptr));
    if (!window_)
        throw LibraryError(HRESULT_FROM_WIN32(GetLastError()),
                           L"Не удалось создать окно подсказки");
}

HFONT THintWindowEx::Font() const noexcept {
    return reinterpret_cast<HFONT>(SendMessageW(window_.Get(), WM_GETFONT, 0, 0));
}

RECT THintWindowEx::CalcHintRect(int max_width, std::string_view text) const {
    RECT bounds{0, 0, max_width, 0};
    WindowDC canvas(window_.Get());
    ObjectSelection font(canvas.Get(), Font());
    DrawMarkupText(canvas.Get(), text, 1, 0, true, true, true, bounds);
    bounds.right += 6;
    bounds.bottom += 2;
    return bounds;
}

void THintWindowEx::ActivateHint(const RECT& screen_rect, std::string_view text) {
    SetWindowTextW(window_.Get(), WideFromAnsi(text).c_str());
    // As the framework's hint window does, 4 pixels taller than asked, so that the last line
    // clears the border and the top margin.
    SetWindowPos(window_.Get(), HWND_TOPMOST, screen_rect.left, screen_rect.top,
                 screen_rect.right - screen_rect.left, screen_rect.bottom - screen_rect.top + 4,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(window_.Get(), nullptr, TRUE);
}

void THintWindowEx::ReleaseHint() {
    ShowWindow(window_.Get(), SW_HIDE);
}

} // namespace kv
