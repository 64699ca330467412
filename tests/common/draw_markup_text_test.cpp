// DrawMarkupText on a real device context: sizes follow the single-character extents that GDI
// measures, the base font comes back selected, the rectangle is filled when drawing.
#include "common/draw_markup_text.h"
#include "platform/gdi_owners.h"

#include <gtest/gtest.h>

#include <string>

using namespace kv;

namespace {

// A memory device context on a small bitmap, with a font of its own selected.
class MemoryCanvas : public testing::Test {
protected:
    void SetUp() override {
        screen_ = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen_);
        bitmap_ = CreateCompatibleBitmap(screen_, 200, 100);
        old_bitmap_ = SelectObject(dc_, bitmap_);
        font_ =
            CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
        old_font_ = SelectObject(dc_, font_);
    }
    void TearDown() override {
        SelectObject(dc_, old_font_);
        SelectObject(dc_, old_bitmap_);
        DeleteObject(font_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        ReleaseDC(nullptr, screen_);
    }

    int ExtentOf(char character) {
        SIZE extent{};
        GetTextExtentPoint32A(dc_, &character, 1, &extent);
        return extent.cx;
    }
    int CellHeight() {
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc_, &metrics);
        return metrics.tmHeight;
    }

    HDC screen_ = nullptr;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_bitmap_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ old_font_ = nullptr;
};

TEST_F(MemoryCanvas, MeasuresTheSumOfSingleCharacterExtents) {
    RECT rect{10, 20, 10 + 500, 20};
    const MarkupTextLines lines = DrawMarkupText(dc_, "Wave", 0, 0, true, true, true, rect);
    EXPECT_EQ(lines.line_count, 1);
    EXPECT_EQ(lines.line_height, CellHeight());
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.right, 10 + ExtentOf('W') + ExtentOf('a') + ExtentOf('v') + ExtentOf('e'));
    EXPECT_EQ(rect.bottom, 20 + CellHeight());
}

TEST_F(MemoryCanvas, BoldTextIsMeasuredInABoldFontOfTheBaseFace) {
    RECT rect{0, 0, 500, 0};
    DrawMarkupText(dc_, "<!bold>W</bold>", 0, 0, true, true, true, rect);
    FontOwner bold(CreateFontA(CellHeight(), 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                               "tahoma"));
    int bold_width = 0;
    {
        ObjectSelection selection(dc_, bold.Get());
        bold_width = ExtentOf('W');
    }
    EXPECT_EQ(rect.right, bold_width);
}

TEST_F(MemoryCanvas, LeavesTheBaseFontSelectedAfterTags) {
    for (const bool measuring : {true, false}) {
        RECT rect{0, 0, 200, 100};
        DrawMarkupText(dc_, "a<!bold>b<!font Courier New>c<!lower>d", 1, 0, measuring, true, true,
                       rect);
        EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), font_) << "measuring " << measuring;
    }
}

// Paints the canvas white and selects a red brush for the drawer's fill.
class PaintedCanvas : public MemoryCanvas {
protected:
    void SetUp() override {
        MemoryCanvas::SetUp();
        const RECT whole{0, 0, 200, 100};
        FillRect(dc_, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        red_ = CreateSolidBrush(Red);
        old_brush_ = SelectObject(dc_, red_);
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, RGB(0, 0, 0));
    }
    void TearDown() override {
        SelectObject(dc_, old_brush_);
        DeleteObject(red_);
        MemoryCanvas::TearDown();
    }
    // Pixels of rows [top, bottom) of the rectangle's columns that are not the fill colour.
    int InkedPixels(const RECT& rect, int top, int bottom) {
        int inked = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                inked += GetPixel(dc_, x, y) != Red ? 1 : 0;
        return inked;
    }

    static constexpr COLORREF Red = RGB(255, 0, 0);
    HBRUSH red_ = nullptr;
    HGDIOBJ old_brush_ = nullptr;
};

TEST_F(PaintedCanvas, DrawingFillsTheRectangleAndLeavesItUnchanged) {
    RECT rect{20, 10, 120, 60};
    DrawMarkupText(dc_, "", 0, 0, false, true, true, rect);
    EXPECT_EQ(rect.left, 20);
    EXPECT_EQ(rect.top, 10);
    EXPECT_EQ(rect.right, 120);
    EXPECT_EQ(rect.bottom, 60);
    EXPECT_EQ(InkedPixels(rect, 10, 60), 0);
    EXPECT_EQ(GetPixel(dc_, 120, 60), RGB(255, 255, 255)); // nothing outside
}

TEST_F(PaintedCanvas, DrawsOnlyTheLinesThatFit) {
    const int cell = CellHeight();
    RECT rect{0, 0, 200, cell * 2 + cell / 2};
    DrawMarkupText(dc_, "WWW\r\nWWW\r\nWWW", 0, 0, false, true, true, rect);
    EXPECT_GT(InkedPixels(rect, 0, cell), 0);
    EXPECT_GT(InkedPixels(rect, cell, 2 * cell), 0);
    EXPECT_EQ(InkedPixels(rect, 2 * cell, rect.bottom), 0);
}

TEST_F(PaintedCanvas, RectangleLowerThanALineGetsOnlyTheFill) {
    RECT rect{0, 0, 200, CellHeight() - 1};
    DrawMarkupText(dc_, "WWW", 0, 0, false, true, true, rect);
    EXPECT_EQ(InkedPixels(rect, 0, rect.bottom), 0);
}

TEST_F(MemoryCanvas, OtherMappingModeIsKept) {
    SetMapMode(dc_, MM_LOMETRIC);
    RECT rect{0, 0, 500, 0};
    DrawMarkupText(dc_, "a", 0, 0, true, true, true, rect);
    EXPECT_EQ(GetMapMode(dc_), MM_LOMETRIC);
    SetMapMode(dc_, MM_TEXT);
}

} // namespace
