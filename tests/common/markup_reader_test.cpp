// Reading markup: which characters stay visible, in which font, size and breaking class, and
// which fonts are asked for.
#include "fake_markup_metrics.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

// The visible characters, and for each a letter of its state: "." base font, a digit for the
// font made by the n-th request, "^" raised, "_" lowered, "~" non-breaking, "|" a line break.
struct Seen {
    std::string text;
    std::string states;
};

Seen Read(FakeMarkupMetrics& metrics, std::string_view markup, bool keep_line_breaks = true) {
    Seen seen;
    for (const MarkupCharacter& item :
         ReadMarkup(markup, metrics.base, keep_line_breaks, metrics)) {
        seen.text += item.character;
        char state = item.font == BaseMarkupFont ? '.'
                     : item.font == NoMarkupFont ? '|'
                                                 : static_cast<char>('0' + item.font);
        if (item.size == MarkupSize::Raised)
            state = '^';
        if (item.size == MarkupSize::Lowered)
            state = '_';
        if (item.non_breaking)
            state = '~';
        seen.states += state;
    }
    return seen;
}

struct ReadCase {
    const char* name;
    std::string markup;
    std::string text;
    std::string states;
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << c.name;
}

class MarkupReading : public testing::TestWithParam<ReadCase> {};

TEST_P(MarkupReading, KeepsTheVisibleCharactersInTheirState) {
    FakeMarkupMetrics metrics;
    const Seen seen = Read(metrics, GetParam().markup);
    EXPECT_EQ(seen.text, GetParam().text);
    EXPECT_EQ(seen.states, GetParam().states);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, MarkupReading,
    testing::Values(
        ReadCase{"PlainText", "abc", "abc", "..."},
        ReadCase{"BoldBetweenPlain", "a<!bold>b</bold>c", "abc", ".1."},
        ReadCase{"TagNamesIgnoreCase", "<!BOLD>b</Bold>c", "bc", "1."},
        ReadCase{"WithoutMarkIsLiteral", "<bold>x<b>", "<bold>x<b>", ".........."},
        ReadCase{"UnknownTagIsLiteral", "<!blink>x", "<!blink>x", "........."},
        ReadCase{"LoneLessThanAtEnd", "a<", "a<", ".."},
        ReadCase{"ItalicTagsVanish", "<!italic>x</italic><!noitalic>y</noitalic>", "xy", ".."},
        ReadCase{"SpaceTagIsNonBreakingBlank", "a<!space>b</space>c", "a b c", ".~.~."},
        ReadCase{"RaisedAndLowered", "x<!upper>2</upper>H<!lower>2</lower>O", "x2H2O", ".^._."},
        // A fixed-length tag ends one character after its name, whatever that character is.
        ReadCase{"CharacterAfterNameIsTakenAsClose", "<!boldX>y", ">y", "11"},
        ReadCase{"TagAtVeryEnd", "a<!bold", "a", "."},
        ReadCase{"FontTagToClose", "<!font Courier New >a</font whatever>b", "ab", "1."},
        ReadCase{"FontTagWithoutCloseRunsToEnd", "a<!font Courier", "a", "."},
        ReadCase{"BaseFaceInOtherCaseIsBaseFont", "<!font VEVEVEDEDED>a", "a", "."},
        ReadCase{"LineBreaksKept", "a\r\nb", "a\r\nb", ".||."}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(MarkupReading, LineBreaksNotKeptBecomeOneBlank) {
    FakeMarkupMetrics metrics;
    const Seen seen = Read(metrics, "a\r\nb\nc", false);
    EXPECT_EQ(seen.text, "a bc");
    EXPECT_EQ(seen.states, "....");
}

TEST(MarkupReading, EveryCharacterIsMeasuredAloneInItsFont) {
    FakeMarkupMetrics metrics;
    std::vector<int> widths;
    for (const MarkupCharacter& item :
         ReadMarkup("a b<!bold> c\r\n</bold><!space>", metrics.base, true, metrics))
        widths.push_back(item.width);
    EXPECT_EQ(widths, (std::vector<int>{10, 4, 10, 5, 12, 0, 0, 4}));
}

TEST(MarkupReading, FontsAreAskedForOncePerStateWithTheirCellHeight) {
    FakeMarkupMetrics metrics;
    metrics.base.cell_height = 14;
    Read(metrics, "<!bold>a</bold><!bold>b<!upper>c</upper></bold><!lower>d</lower>"
                  "<!font Arial>e</font><!font ARIAL>f");
    struct Asked {
        std::string face;
        bool bold;
        MarkupSize size;
        int cell_height;
    };
    std::vector<Asked> asked;
    for (const MarkupFontRequest& request : metrics.requests)
        asked.push_back({request.face, request.bold, request.size, request.cell_height});
    ASSERT_EQ(asked.size(), 4u);
    // 14 x 0.75 = 10.5: halves go to even.
    const Asked expected[] = {{"vevevededed", true, MarkupSize::Normal, 14},
                              {"vevevededed", true, MarkupSize::Raised, 10},
                              {"vevevededed", false, MarkupSize::Lowered, 10},
                              {"arial", false, MarkupSize::Normal, 14}};
    for (std::size_t i = 0; i < asked.size(); ++i) {
        EXPECT_EQ(asked[i].face, expected[i].face) << i;
        EXPECT_EQ(asked[i].bold, expected[i].bold) << i;
        EXPECT_EQ(asked[i].size, expected[i].size) << i;
        EXPECT_EQ(asked[i].cell_height, expected[i].cell_height) << i;
    }
}

TEST(MarkupReading, SmallTextHeightRoundsHalvesToEven) {
    for (auto [base, small] : {std::pair{16, 12}, {14, 10}, {18, 14}, {13, 10}}) {
        FakeMarkupMetrics metrics;
        metrics.base.cell_height = base;
        Read(metrics, "<!upper>x");
        ASSERT_EQ(metrics.requests.size(), 1u);
        EXPECT_EQ(metrics.requests[0].cell_height, small) << base;
    }
}

TEST(MarkupReading, FontThatCannotBeMadeFallsBackToTheBaseFace) {
    FakeMarkupMetrics metrics;
    metrics.unavailable_faces = {"nosuchface"};
    const Seen seen = Read(metrics, "<!font NoSuchFace>a<!bold>b");
    EXPECT_EQ(seen.states, ".2");
    ASSERT_EQ(metrics.requests.size(), 2u);
    // The bold that follows is asked for in the base face, not the missing one.
    EXPECT_EQ(metrics.requests[1].face, "vevevededed");
    EXPECT_TRUE(metrics.requests[1].bold);
}

TEST(MarkupReading, ClosingFontTagReturnsToTheBaseFaceKeepingBold) {
    FakeMarkupMetrics metrics;
    const Seen seen = Read(metrics, "<!bold><!font Arial>a</font>b");
    EXPECT_EQ(seen.states, "21");
    ASSERT_EQ(metrics.requests.size(), 2u);
    EXPECT_EQ(metrics.requests[1].face, "arial");
}

} // namespace
