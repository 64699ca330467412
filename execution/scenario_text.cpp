#include "execution/scenario_text.h"

namespace kv::execution {

std::vector<std::string> SplitScenarioLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        lines.emplace_back(text.substr(start, pos - start));
        // CR LF is one line end, not a line end followed by an empty line.
        pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
        start = pos;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string WrapScenario(const std::vector<std::string>& lines) {
    static constexpr std::string_view kHead = "function Scripter( mdl )\r\n";
    static constexpr std::string_view kTail = "end function\r\n";
    std::size_t size = kHead.size() + kTail.size();
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    text += kHead;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    text += kTail;
    return text;
}

} // namespace kv::execution
