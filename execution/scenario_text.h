// A scenario file as the script runner sees it: ANSI bytes read as lines, wrapped as the body of
// the VBScript function that the runner calls with the model.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv::execution {

// Splits text into lines: CR LF, a lone CR and a lone LF each end a line. A final line without
// a line break counts; a final line break does not start another line, so empty text has no
// lines. Every other byte (NUL included) is kept as it is.
std::vector<std::string> SplitScenarioLines(std::string_view text);

// "function Scripter( mdl )", the lines unchanged, "end function"; every line ends with CR LF.
std::string WrapScenario(const std::vector<std::string>& lines);

} // namespace kv::execution
