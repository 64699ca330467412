// The hints of a tool bar: the hint of the button under the mouse pointer, shown after a pause
// in the library's hint window (THintWindowEx, so hints may carry markup).
#pragma once

#include "common/hint_window.h"

#include <windows.h>

#include <string>
#include <vector>

namespace kv::execution {

class ToolBarHints {
public:
    // `hints` in the tool bar's button order, in the process ANSI code page.
    ToolBarHints(HWND toolBar, HWND owner, std::vector<std::string> hints);
    ToolBarHints(const ToolBarHints&) = delete;
    ToolBarHints& operator=(const ToolBarHints&) = delete;
    ~ToolBarHints();

private:
    static LRESULT CALLBACK ToolBarProcedure(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam, UINT_PTR id, DWORD_PTR hints);
    void MouseMoved(LPARAM position);
    void Show();
    void Hide();

    HWND tool_bar_;
    THintWindowEx hint_;
    std::vector<std::string> hints_;
    int hot_button_ = -1; // the button under the pointer, -1 for none
    bool shown_ = false;
};

} // namespace kv::execution
