// VBScript colouring: which parts of a line get a colour, and the rich-text stream that carries
// a whole coloured text without losing a character.
#include "execution/vbscript_highlight.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using kv::execution::HighlightedRtf;
using kv::execution::HighlightLine;
using kv::execution::TokenKind;
using kv::execution::Vocabulary;

Vocabulary Words() {
    Vocabulary words;
    words.keywords = {L"dim", L"set", L"if", L"then", L"else", L"rem", L"end"};
    words.functions = {L"len", L"createobject"};
    words.objects = {L"mdl"};
    words.members = {L"zradd", L"zrgetclassvector"};
    return words;
}

// A line with its coloured parts written under it: each kind's letter over its characters.
struct LineCase {
    const char* name;
    std::wstring line;
    std::wstring marks; // K keyword, F function, O object, M member, S string, C comment, N number
};

void PrintTo(const LineCase& lineCase, std::ostream* out) {
    *out << lineCase.name;
}

wchar_t MarkOf(TokenKind kind) {
    switch (kind) {
    case TokenKind::Keyword:
        return L'K';
    case TokenKind::Function:
        return L'F';
    case TokenKind::Object:
        return L'O';
    case TokenKind::Member:
        return L'M';
    case TokenKind::String:
        return L'S';
    case TokenKind::Comment:
        return L'C';
    case TokenKind::Number:
        return L'N';
    case TokenKind::Plain:
        break;
    }
    return L'?';
}

std::wstring Marks(const std::wstring& line) {
    std::wstring marks(line.size(), L' ');
    for (const auto& token : HighlightLine(line, Words()))
        marks.replace(token.start, token.length, token.length, MarkOf(token.kind));
    while (!marks.empty() && marks.back() == L' ')
        marks.pop_back();
    return marks;
}

class HighlightLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(HighlightLineTest, ColoursTheRightCharacters) {
    EXPECT_EQ(Marks(GetParam().line), GetParam().marks);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HighlightLineTest,
    testing::Values(
        LineCase{"WordsIgnoreCase", L"DIM x : Set y = Len(z)", L"KKK     KKK     FFF"},
        LineCase{"ObjectAndItsMembers", L"set c = mdl.zrGetClassVector : c.zrAdd \"A\"",
                 L"KKK     OOO MMMMMMMMMMMMMMMM     MMMMM SSS"},
        LineCase{"MemberOnlyAfterADot", L"zrAdd = mdl . zrAdd", L"        OOO   MMMMM"},
        LineCase{"KeywordAfterADotIsAMember", L"x.end", L""},
        LineCase{"DoubledQuoteStaysInTheString", L"s = \"a \"\"dim\"\" b\" & dim",
                 L"    SSSSSSSSSSSSS   KKK"},
        LineCase{"UnterminatedStringRunsToTheEnd", L"s = \"dim ' x", L"    SSSSSSSS"},
        LineCase{"ApostropheInAStringIsNoComment", L"s = \"it's\" ' dim", L"    SSSSSS CCCCC"},
        LineCase{"RemStartsACommentOnlyAsAStatement", L"rem dim : x = 1 : Rem set",
                 L"CCCCCCCCCCCCCCCCCCCCCCCCC"},
        LineCase{"RemAfterAStatementSeparator", L"x = 1 : rem dim", L"    N   CCCCCCC"},
        LineCase{"RemAfterThen", L"if x then rem y", L"KK   KKKK CCCCC"},
        LineCase{"RemAsPartOfANameIsNoComment", L"remark = 1", L"         N"},
        LineCase{"Numbers", L"x = 12 + 3.5e2 + &H1F + &o17 + a1", L"    NN   NNNNN   NNNN   NNNN"},
        LineCase{"UnknownWordsArePlain", L"foo bar_baz", L""},
        LineCase{"CyrillicTextInAString", L"c.zrAdd \"Деталь\"", L"  MMMMM SSSSSSSS"}));

// The stream's text, read back without its control words: what a reader would show.
TEST(HighlightedRtf, EscapesWhatRtfReservesAndMarksLineEnds) {
    const std::string rtf = HighlightedRtf(L"a\\b{c}\td\r\ne\nf\rЖ", Vocabulary{});
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi"));
    EXPECT_NE(rtf.find("a\\\\b\\{c\\}\\tab d\\par\ne\\par\nf\\par\n\\u1046?}"), std::string::npos)
        << rtf;
}

TEST(HighlightedRtf, ColoursTokensThroughTheColourTable) {
    const std::string rtf = HighlightedRtf(L"dim x", Words());
    // Plain text has its own entry, first after the reader's automatic colour.
    EXPECT_NE(rtf.find("{\\colortbl ;\\red0\\green0\\blue0;\\red0\\green0\\blue192;"),
              std::string::npos)
        << rtf;
    EXPECT_NE(rtf.find("\\cf1 \\cf2 dim\\cf1  x}"), std::string::npos) << rtf;
}

// The reader ends the document at the last paragraph end: a final line break needs one more.
TEST(HighlightedRtf, AFinalLineBreakGetsOneMoreParagraphEnd) {
    EXPECT_TRUE(HighlightedRtf(L"a\r\n", Vocabulary{}).ends_with("a\\par\n\\par\n}"));
    EXPECT_TRUE(HighlightedRtf(L"a", Vocabulary{}).ends_with("a}"));
    EXPECT_TRUE(HighlightedRtf(L"", Vocabulary{}).ends_with("\\cf1 }"));
}

TEST(HighlightedRtf, CharactersOutsideTheBasicPlaneTravelAsTwoUnits) {
    const std::wstring text = L"\xD83D\xDE00"; // one character as a surrogate pair
    const std::string rtf = HighlightedRtf(text, Vocabulary{});
    EXPECT_NE(rtf.find("\\u-10179?\\u-8704?}"), std::string::npos) << rtf;
}

} // namespace
