// libFuzzer target for reading a scenario as lines: whatever the bytes, no line holds a line
// break, the lines joined with CR LF are the text with every line end made CR LF, and the text
// wrapped as the runner's function reads back as its first line, the same lines and its last.
#include "execution/scenario_text.h"
#include "fuzz_require.h"
#include "vbs_string_expression.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Every line end as CR LF; a text whose last line has no line end gets one, as each line is
// written with its own.
std::string WithCrLfLineEnds(std::string_view text) {
    std::string result = kv::testing::WithCrLfLineBreaks(text);
    if (!result.empty() && !result.ends_with("\r\n"))
        result += "\r\n";
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = kv::execution::SplitScenarioLines(text);

    std::string joined;
    for (const std::string& line : lines) {
        Require(line.find_first_of("\r\n") == std::string::npos, "a line holds a line break");
        joined += line + "\r\n";
    }
    Require(joined == WithCrLfLineEnds(text), "the lines are not the text");

    const std::string wrapped = kv::execution::WrapScenario(lines);
    Require(wrapped == "function Scripter( mdl )\r\n" + joined + "end function\r\n",
            "the wrapped text is not the function around the lines");
    std::vector<std::string> expected = {"function Scripter( mdl )"};
    expected.insert(expected.end(), lines.begin(), lines.end());
    expected.push_back("end function");
    Require(kv::execution::SplitScenarioLines(wrapped) == expected,
            "the wrapped text does not read back as its lines");
    return 0;
}
