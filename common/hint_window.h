// THintWindowEx: the hint (tooltip) window of the library's windows. Its text may carry markup
// tags; it is measured and drawn by DrawMarkupText on the info-tip background colour. Any
// window of the class "THintWindowEx" draws its window text this way.
#pragma once

#include "platform/win_owners.h"

#include <windows.h>

#include <string_view>

namespace kv {

constexpr const wchar_t* HintWindowClassName = L"THintWindowEx";

// Registers the hint window class (once) and makes it the application object's hint window
// class, so that the library's windows show their hints with it. Start-up step.
void InstallHintWindowClass();

class THintWindowEx {
public:
    // Creates the hidden hint window, owned by `owner` (may be null).
    explicit THintWindowEx(HWND owner);
    THintWindowEx(const THintWindowEx&) = delete;
    THintWindowEx& operator=(const THintWindowEx&) = delete;

    HWND Handle() const noexcept { return window_.Get(); }
    // Its canvas font: "Vevevededed", scaled.
    HFONT Font() const noexcept;

    // The size the hint needs: (0, 0, max_width, 0) measured with markup, wrapping at
    // `max_width`, then 6 pixels wider and 2 higher for the border and the margin.
    RECT CalcHintRect(int max_width, std::string_view text) const;
    // Shows `text` (process ANSI code page) at a rectangle of the screen (a CalcHintRect moved
    // into place), 4 pixels taller, without activating.
    void ActivateHint(const RECT& screen_rect, std::string_view text);
    void ReleaseHint();

private:
    WindowOwner window_;
};

} // namespace kv
