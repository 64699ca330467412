// Laying markup out: line counts and widths when measuring, runs and their places when drawing,
// with the wrapping quirks that size the library's dialogs. Widths: see fake_markup_metrics.h.
#include "fake_markup_metrics.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

MarkupOptions Measuring(int leading = 0) {
    MarkupOptions options;
    options.measuring = true;
    options.leading = leading;
    return options;
}

MarkupOptions Drawing(int leading = 0) {
    MarkupOptions options;
    options.measuring = false;
    options.leading = leading;
    return options;
}

struct MeasureCase {
    const char* name;
    std::string markup;
    int available_width;
    int lines;
    int widest;
};

void PrintTo(const MeasureCase& c, std::ostream* out) {
    *out << c.name;
}

class MarkupMeasuring : public testing::TestWithParam<MeasureCase> {};

TEST_P(MarkupMeasuring, CountsLinesAndTheWidestLine) {
    const MeasureCase& c = GetParam();
    FakeMarkupMetrics metrics;
    const MarkupBox box{3, 5, 3 + c.available_width, 5};
    const MarkupLayout layout = LayOutMarkupText(c.markup, metrics.base, Measuring(), box, metrics);
    EXPECT_EQ(layout.line_count, c.lines);
    EXPECT_EQ(layout.box, (MarkupBox{3, 5, 3 + c.widest, 5 + 16 * c.lines}));
}

INSTANTIATE_TEST_SUITE_P(
    Wrapping, MarkupMeasuring,
    testing::Values(
        MeasureCase{"EmptyTextIsNothing", "", 100, 0, 0},
        MeasureCase{"OneLine", "aaa bbb", 100, 1, 64},
        // The second line carries the blank it broke at: 4 + 30.
        MeasureCase{"WidthCarriedIncludesTheBlank", "aaa bbb", 50, 2, 34},
        // A word wider than the line overflows; at the very end one more empty line counts.
        MeasureCase{"LongLastWordAddsAnEmptyLine", "aaaaaa", 30, 2, 60},
        MeasureCase{"LongWordBeforeOthersOverflowsAlone", "aaaaaa b", 30, 2, 60},
        MeasureCase{"NonBreakingSpaceNeverBreaks", "aaa<!space>bbb", 50, 2, 64},
        MeasureCase{"LineBreakStartsALine", "aaa\r\nb", 100, 2, 30},
        MeasureCase{"LineBreaksInARowMakeOne", "a\r\n\r\n\nb", 100, 2, 10},
        MeasureCase{"TrailingLineBreakCountsALine", "a\r\n", 100, 2, 10},
        MeasureCase{"TagsAloneAreNoLine", "<!bold></bold>", 100, 0, 0},
        MeasureCase{"BoldIsMeasuredInItsFont", "a<!bold>bb</bold>", 100, 1, 34},
        // A box narrower than nothing must not wrap for ever.
        MeasureCase{"NegativeWidthEndsLikeZero", "ab cd", -10, 3, 24}),
    [](const testing::TestParamInfo<MeasureCase>& info) { return std::string(info.param.name); });

TEST(MarkupMeasuring, WithoutWordWrapLinesBreakOnlyAtLineBreaks) {
    FakeMarkupMetrics metrics;
    MarkupOptions options = Measuring();
    options.word_wrap = false;
    const MarkupLayout layout =
        LayOutMarkupText("aaa bbb\r\nc", metrics.base, options, {0, 0, 20, 0}, metrics);
    EXPECT_EQ(layout.line_count, 2);
    EXPECT_EQ(layout.box.right, 64);
}

TEST(MarkupMeasuring, LineBreaksNotKeptJoinTheLines) {
    FakeMarkupMetrics metrics;
    MarkupOptions options = Measuring();
    options.keep_line_breaks = false;
    const MarkupLayout layout =
        LayOutMarkupText("aa\r\nbb", metrics.base, options, {0, 0, 100, 0}, metrics);
    EXPECT_EQ(layout.line_count, 1);
    EXPECT_EQ(layout.box.right, 44);
}

TEST(MarkupMeasuring, LineHeightCountsLeadingAndExtraSpacing) {
    FakeMarkupMetrics metrics;
    MarkupOptions options = Measuring(1);
    options.extra_spacing = 2;
    const MarkupLayout layout =
        LayOutMarkupText("a\r\nb", metrics.base, options, {0, 10, 100, 10}, metrics);
    EXPECT_EQ(layout.line_height, 19);
    EXPECT_EQ(layout.box.bottom, 10 + 2 * 19);
}

std::vector<MarkupRun> Draw(FakeMarkupMetrics& metrics, std::string_view markup, MarkupBox box,
                            int leading = 0) {
    return LayOutMarkupText(markup, metrics.base, Drawing(leading), box, metrics).runs;
}

TEST(MarkupDrawing, PlainLinesAreOneRunEachOneLineHeightApart) {
    FakeMarkupMetrics metrics;
    const std::vector<MarkupRun> expected = {{0, 5, 8, "aaa"}, {0, 5, 25, "bbb"}};
    EXPECT_EQ(Draw(metrics, "aaa bbb", {5, 7, 55, 100}, 1), expected);
}

TEST(MarkupDrawing, AfterTheFirstTagRunsSitLowerByTheExternalLeading) {
    FakeMarkupMetrics metrics; // external leading 2
    const std::vector<MarkupRun> expected = {{0, 5, 7, "a"}, {1, 15, 9, "b"}, {0, 27, 9, "c"}};
    EXPECT_EQ(Draw(metrics, "a<!bold>b</bold>c", {5, 7, 200, 100}), expected);
}

TEST(MarkupDrawing, LoweredTextSharesTheBottomAndRaisedTheTop) {
    FakeMarkupMetrics metrics; // base cell 16, small cells 12
    const std::vector<MarkupRun> expected = {
        {0, 0, 0, "H"}, {1, 10, 4, "2"}, {0, 22, 2, "O"}, {2, 32, 2, "3"}};
    EXPECT_EQ(Draw(metrics, "H<!lower>2</lower>O<!upper>3", {0, 0, 200, 100}), expected);
}

TEST(MarkupDrawing, NonBreakingBlankIsDrawnAsABlank) {
    FakeMarkupMetrics metrics;
    const std::vector<MarkupRun> expected = {{0, 0, 0, "a b"}};
    EXPECT_EQ(Draw(metrics, "a<!space>b", {0, 0, 200, 100}), expected);
}

TEST(MarkupDrawing, StopsAtTheLastLineThatFits) {
    FakeMarkupMetrics metrics;
    const std::vector<MarkupRun> expected = {{0, 0, 0, "a"}, {0, 0, 16, "b"}};
    EXPECT_EQ(Draw(metrics, "a\r\nb\r\nc", {0, 0, 200, 40}), expected);
}

TEST(MarkupDrawing, BoxLowerThanALineDrawsNothing) {
    FakeMarkupMetrics metrics;
    const MarkupLayout layout =
        LayOutMarkupText("abc", metrics.base, Drawing(), {0, 0, 200, 15}, metrics);
    EXPECT_TRUE(layout.runs.empty());
    EXPECT_EQ(layout.line_count, 0);
    EXPECT_EQ(layout.box, (MarkupBox{0, 0, 200, 15})); // drawing leaves the box as it was
}

} // namespace
