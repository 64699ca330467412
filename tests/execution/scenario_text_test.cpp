// A scenario file read as lines (CR LF, lone CR and lone LF all end a line) and wrapped as the
// body of Scripter, whatever bytes it holds.
#include "execution/scenario_text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using kv::execution::SplitScenarioLines;
using kv::execution::WrapScenario;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

struct SplitCase {
    const char* name;
    std::string text;
    Lines lines;
};

// CTest lists each case by its name, not its bytes.
void PrintTo(const SplitCase& splitCase, std::ostream* out) {
    *out << splitCase.name;
}

class SplitScenarioLinesTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitScenarioLinesTest, EndsLinesAtEveryKindOfBreak) {
    EXPECT_EQ(SplitScenarioLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitScenarioLinesTest,
    testing::Values(
        SplitCase{"CrLf", "a = 1\r\nb = 2\r\n", {"a = 1", "b = 2"}},
        SplitCase{"LfOnly", "a = 1\nb = 2\n", {"a = 1", "b = 2"}},
        SplitCase{"CrOnly", "a = 1\rb = 2\r", {"a = 1", "b = 2"}},
        SplitCase{"Mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        // LF CR is two line ends, CR CR LF an empty line between two.
        SplitCase{"LfCrIsTwoBreaks", "a\n\rb", {"a", "", "b"}},
        SplitCase{"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
        SplitCase{"NoFinalBreak", "a\r\nlast", {"a", "last"}},
        SplitCase{"EmptyLinesKept", "\r\n\r\na\r\n\r\n", {"", "", "a", ""}},
        SplitCase{"EmptyText", "", {}}, SplitCase{"OnlyABreak", "\r\n", {""}},
        SplitCase{"FinalLoneCr", "a\r", {"a"}},
        SplitCase{"BinaryBytesKept", "\x01\x00\xff\xfe\r\n\x00"s, {"\x01\x00\xff\xfe"s, "\x00"s}},
        SplitCase{"Cp1251TextKept",
                  "msgbox \"\xcf\xf0\xe8\xe2\xe5\xf2\"\n",
                  {"msgbox \"\xcf\xf0\xe8\xe2\xe5\xf2\""}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

TEST(WrapScenario, EveryLineEndsWithCrLf) {
    EXPECT_EQ(WrapScenario({"a = 1", "", "b = 2"}),
              "function Scripter( mdl )\r\na = 1\r\n\r\nb = 2\r\nend function\r\n");
}

TEST(WrapScenario, EmptyScenarioIsAnEmptyFunction) {
    EXPECT_EQ(WrapScenario({}), "function Scripter( mdl )\r\nend function\r\n");
}

TEST(WrapScenario, LinesAreNotChanged) {
    const Lines lines{"  x = \"a\tb\" ' comment", "\x00\xff"s};
    EXPECT_EQ(
        WrapScenario(lines),
        "function Scripter( mdl )\r\n  x = \"a\tb\" ' comment\r\n\x00\xff\r\nend function\r\n"s);
}

} // namespace
