#include "comparison_lines.h"

#include <unordered_set>

namespace kvgen {

std::string Shown(std::string_view text) {
    std::string shown = "\"";
    for (const char c : text) {
        if (c == '\r')
            shown += "\\r";
        else if (c == '\n')
            shown += "\\n";
        else
            shown += c;
    }
    return shown + "\"";
}

std::string Shown(std::int32_t number) {
    return std::to_string(number);
}

std::string Shown(bool flag) {
    return flag ? "true" : "false";
}

std::string Shown(const std::optional<std::int32_t>& rights) {
    return rights ? std::to_string(*rights) : "no entry";
}

std::string Shown(const std::vector<std::string>& names) {
    std::vector<std::string> shown;
    for (const std::string& name : names)
        shown.push_back(Shown(name));
    return Listed(shown);
}

std::string Listed(const std::vector<std::string>& items) {
    std::string listed = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        listed += (i ? ", " : "") + items[i];
    return listed + "]";
}

std::string CrLfCode(std::string_view code) {
    std::string result;
    result.reserve(code.size());
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (code[i] == '\r' || code[i] == '\n') {
            if (code[i] == '\r' && i + 1 < code.size() && code[i + 1] == '\n')
                ++i;
            result += "\r\n";
        } else {
            result += code[i];
        }
    }
    return result;
}

void ComparisonLines::Differ(const std::string& where, std::string_view what,
                             const std::string& expected, const std::string& actual) {
    lines_.push_back(where + ": " + std::string(what) + ": expected " + expected + ", got " +
                     actual);
}

void ComparisonLines::Note(const std::string& where, std::string_view note) {
    lines_.push_back(where + ": " + std::string(note));
}

void ComparisonLines::CompareSets(const std::string& where, std::string_view item,
                                  const std::vector<std::string>& expected,
                                  const std::vector<std::string>& actual) {
    const std::unordered_set<std::string> expected_set(expected.begin(), expected.end());
    const std::unordered_set<std::string> actual_set(actual.begin(), actual.end());
    for (const std::string& name : expected)
        if (!actual_set.contains(name))
            Note(where, std::string(item) + " " + Shown(name) + " is missing");
    for (const std::string& name : actual)
        if (!expected_set.contains(name))
            Note(where, std::string(item) + " " + Shown(name) + " is not expected");
}

} // namespace kvgen
