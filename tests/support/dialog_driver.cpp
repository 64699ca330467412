#include "support/dialog_driver.h"

#include <algorithm>

namespace {

struct Search {
    HWND found = nullptr;
};

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM parameter) {
    wchar_t window_class[16] = {};
    GetClassNameW(window, window_class, 16);
    if (std::wstring_view(window_class) == L"#32770" && IsWindowVisible(window)) {
        reinterpret_cast<Search*>(parameter)->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectButtons(HWND window, LPARAM parameter) {
    wchar_t window_class[16] = {};
    GetClassNameW(window, window_class, 16);
    if (_wcsicmp(window_class, L"Button") == 0)
        reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

int LeftOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.left;
}

} // namespace

DialogDriver::DialogDriver(std::function<void(HWND dialog)> script) {
    const DWORD thread_id = GetCurrentThreadId();
    helper_ = std::thread([thread_id, script = std::move(script)] {
        if (HWND dialog = WaitForDialog(thread_id))
            script(dialog);
    });
}

DialogDriver::~DialogDriver() {
    helper_.join();
}

HWND DialogDriver::WaitForDialog(DWORD thread_id) {
    for (int attempt = 0; attempt < 3000; ++attempt) {
        Search search;
        EnumThreadWindows(thread_id, FindVisibleDialog, reinterpret_cast<LPARAM>(&search));
        // Answered once the dialog's thread runs its modal loop, so the dialog is complete.
        if (search.found && SendMessageW(search.found, WM_NULL, 0, 0) == 0 &&
            GetWindow(search.found, GW_CHILD))
            return search.found;
        Sleep(10);
    }
    return nullptr;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring DialogTexts(HWND dialog) {
    std::wstring texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        texts += WindowText(child) + L"\n";
    return texts;
}

std::vector<HWND> ButtonsLeftToRight(HWND dialog) {
    std::vector<HWND> buttons;
    EnumChildWindows(dialog, CollectButtons, reinterpret_cast<LPARAM>(&buttons));
    std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) { return LeftOf(a) < LeftOf(b); });
    return buttons;
}

HWND FindButton(HWND dialog, std::wstring_view caption) {
    for (HWND button : ButtonsLeftToRight(dialog))
        if (WindowText(button) == caption)
            return button;
    return nullptr;
}

void PressKey(HWND dialog, UINT virtual_key) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    HWND target = dialog;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) && info.hwndFocus)
        target = info.hwndFocus;
    PostMessageW(target, WM_KEYDOWN, virtual_key, 1);
    PostMessageW(target, WM_KEYUP, virtual_key, 0xC0000001);
}

void Click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void PressCloseBox(HWND dialog) {
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void PressAltF4(HWND dialog) {
    PostMessageW(dialog, WM_SYSKEYDOWN, VK_F4, static_cast<LPARAM>(KF_ALTDOWN) << 16 | 1);
}
