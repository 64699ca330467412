#include "execution/scenario_editor_hints.h"

#include "platform/window_barrier.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace kv::execution {

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT_PTR kHintTimer = 1;
constexpr UINT kHintPause = 500;    // milliseconds before the first hint
constexpr UINT kNextHintPause = 50; // while a hint is up, the next one follows at once
constexpr int kPointerHeight = 20;  // the hint starts below the arrow pointer

} // namespace

ToolBarHints::ToolBarHints(HWND toolBar, HWND owner, std::vector<std::string> hints)
    : tool_bar_(toolBar), hint_(owner), hints_(std::move(hints)) {
    SetWindowSubclass(tool_bar_, ToolBarProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

ToolBarHints::~ToolBarHints() {
    KillTimer(tool_bar_, kHintTimer);
    RemoveWindowSubclass(tool_bar_, ToolBarProcedure, kSubclassId);
}

void ToolBarHints::MouseMoved(LPARAM position) {
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    const int button =
        static_cast<int>(SendMessageW(tool_bar_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    const int hot = button >= 0 && static_cast<std::size_t>(button) < hints_.size() ? button : -1;
    if (hot == hot_button_)
        return;
    const bool wasShown = shown_;
    Hide();
    hot_button_ = hot;
    if (hot < 0)
        return;
    TRACKMOUSEEVENT leave{sizeof(leave), TME_LEAVE, tool_bar_, 0};
    TrackMouseEvent(&leave);
    SetTimer(tool_bar_, kHintTimer, wasShown ? kNextHintPause : kHintPause, nullptr);
}

void ToolBarHints::Show() {
    KillTimer(tool_bar_, kHintTimer);
    if (hot_button_ < 0)
        return;
    const std::string& text = hints_[static_cast<std::size_t>(hot_button_)];
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    RECT bounds = hint_.CalcHintRect(screenWidth, text);
    POINT pointer{};
    GetCursorPos(&pointer);
    // Below the pointer, moved left where it would leave the screen.
    const int left = std::max(0L, std::min<LONG>(pointer.x, screenWidth - bounds.right));
    OffsetRect(&bounds, left, pointer.y + kPointerHeight);
    hint_.ActivateHint(bounds, text);
    shown_ = true;
}

void ToolBarHints::Hide() {
    KillTimer(tool_bar_, kHintTimer);
    if (shown_)
        hint_.ReleaseHint();
    shown_ = false;
}

LRESULT CALLBACK ToolBarHints::ToolBarProcedure(HWND window, UINT message, WPARAM wparam,
                                                LPARAM lparam, UINT_PTR id, DWORD_PTR data) {
    auto* hints = reinterpret_cast<ToolBarHints*>(data);
    switch (message) {
    case WM_MOUSEMOVE:
        RunWindowHandler([&] { hints->MouseMoved(lparam); });
        break;
    case WM_MOUSELEAVE:
        hints->Hide();
        hints->hot_button_ = -1;
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        hints->Hide(); // the button stays hot: no hint until the pointer moves to another
        break;
    case WM_TIMER:
        if (wparam == kHintTimer) {
            RunWindowHandler([&] { hints->Show(); });
            return 0;
        }
        break;
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

} // namespace kv::execution
