// THintWindowEx: installed as the application's hint window class, sized by the markup drawer
// with its margins, wrapped at the width it is given.
#include "support/screenshot.h"

#include "common/application.h"
#include "common/draw_markup_text.h"
#include "platform/gdi_owners.h"
#include "common/hint_window.h"

#include <gtest/gtest.h>

#include <string>

using namespace kv;

namespace {

TEST(HintWindow, IsInstalledAsTheApplicationsHintWindowClassWithoutShadow) {
    InstallHintWindowClass();
    ASSERT_NE(Application().HintWindowClass(), nullptr);
    EXPECT_STREQ(Application().HintWindowClass(), L"THintWindowEx");
    THintWindowEx hint(nullptr);
    wchar_t window_class[32] = {};
    GetClassNameW(hint.Handle(), window_class, 32);
    EXPECT_STREQ(window_class, L"THintWindowEx");
    EXPECT_EQ(GetClassLongPtrW(hint.Handle(), GCL_STYLE) & CS_DROPSHADOW, 0u);
}

// The text measured as the hint measures it: leading 1, wrapped at `width`.
RECT Measured(HFONT font, const std::string& text, int width) {
    RECT measured{0, 0, width, 0};
    WindowDC screen(nullptr);
    ObjectSelection selection(screen.Get(), font);
    DrawMarkupText(screen.Get(), text, 1, 0, true, true, true, measured);
    return measured;
}

TEST(HintWindow, HintRectIsTheMeasuredTextSixWiderAndTwoHigher) {
    THintWindowEx hint(nullptr);
    const std::string text = "a <!bold>hint</bold> with H<!lower>2</lower>O";
    const RECT rect = hint.CalcHintRect(300, text);
    const RECT measured = Measured(hint.Font(), text, 300);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, measured.right + 6);
    EXPECT_EQ(rect.bottom, measured.bottom + 2);
}

TEST(HintWindow, HintWiderThanTheScreenWrapsAtItsWidth) {
    THintWindowEx hint(nullptr);
    const int screen_width = GetSystemMetrics(SM_CXSCREEN);
    std::string text;
    while (Measured(hint.Font(), text, 100000).right <= 2 * screen_width)
        text += "word ";
    const RECT rect = hint.CalcHintRect(screen_width, text);
    const RECT one_line = Measured(hint.Font(), "word", screen_width);
    EXPECT_LE(rect.right, screen_width + 6);
    EXPECT_GE(rect.bottom, 3 * one_line.bottom + 2);
}

TEST(HintWindow, ShowsItselfAtTheRectangleWithoutTakingTheFocus) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                 300, 200, nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(owner);
    {
        THintWindowEx hint(owner);
        RECT rect = hint.CalcHintRect(300, "<!bold>Run</bold> the scenario");
        OffsetRect(&rect, 100, 120);
        hint.ActivateHint(rect, "<!bold>Run</bold> the scenario");
        UpdateWindow(hint.Handle());
        EXPECT_TRUE(IsWindowVisible(hint.Handle()));
        RECT shown{};
        GetWindowRect(hint.Handle(), &shown);
        rect.bottom += 4;
        EXPECT_TRUE(EqualRect(&shown, &rect));
        EXPECT_EQ(GetActiveWindow(), owner);
        EXPECT_TRUE(SaveWindowScreenshot(hint.Handle(), L"hint_window.bmp")); // for review
        hint.ReleaseHint();
        EXPECT_FALSE(IsWindowVisible(hint.Handle()));
    }
    DestroyWindow(owner);
}

} // namespace
