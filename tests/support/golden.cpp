#include "support/golden.h"

#include <fstream>
#include <sstream>

namespace kvtest {

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        ADD_FAILURE() << "cannot open " << path;
        return {};
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string WithCrLf(std::string_view text) {
    std::string lines;
    lines.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n')
            lines += '\r';
        lines += c;
    }
    return lines;
}

std::string GoldenText(const std::string& folder, const std::string& name) {
    return WithCrLf(FileBytes(folder + "/" + name + ".cp1251"));
}

::testing::AssertionResult SameBytes(std::string_view got, std::string_view expected) {
    if (got == expected)
        return ::testing::AssertionSuccess();
    std::size_t line = 1;
    std::size_t start = 0;
    std::size_t offset = 0;
    for (; offset < got.size() && offset < expected.size() && got[offset] == expected[offset];
         ++offset) {
        if (got[offset] == '\n') {
            ++line;
            start = offset + 1;
        }
    }
    auto line_at = [&](std::string_view text) {
        if (start >= text.size())
            return std::string("<end of text>");
        const std::size_t end = text.find('\n', start);
        std::string_view whole =
            text.substr(start, end == std::string_view::npos ? end : end - start);
        if (!whole.empty() && whole.back() == '\r')
            whole.remove_suffix(1);
        return std::string(whole);
    };
    return ::testing::AssertionFailure()
           << "first difference at byte " << offset << ", in line " << line
           << "\n  got:      " << ::testing::PrintToString(line_at(got))
           << "\n  expected: " << ::testing::PrintToString(line_at(expected));
}

} // namespace kvtest
