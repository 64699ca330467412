// Drives a modal dialog of the test's thread from a helper thread, as a user would: it waits
// for the dialog, looks at it and presses keys and buttons. Actions are posted in order, so a
// key that the dialog ignores is followed by the next action, never raced by it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class DialogDriver {
public:
    // Starts watching for a dialog of the calling thread; `script` runs on the helper thread
    // once the dialog is visible.
    explicit DialogDriver(std::function<void(HWND dialog)> script);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Waits until the watched thread shows a dialog; null when none appeared in a long while.
    static HWND WaitForDialog(DWORD thread_id);

private:
    std::thread helper_;
};

std::wstring WindowText(HWND window);
// The texts of the dialog's child windows, one per line.
std::wstring DialogTexts(HWND dialog);
// The dialog's push buttons from left to right.
std::vector<HWND> ButtonsLeftToRight(HWND dialog);
HWND FindButton(HWND dialog, std::wstring_view caption);

void PressKey(HWND dialog, UINT virtual_key); // to the control that has the focus
void Click(HWND button);
void PressCloseBox(HWND dialog);
void PressAltF4(HWND dialog);
