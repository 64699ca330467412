// Expected scenario texts: golden files written by hand in UTF-8, converted to Windows-1251 by
// the build, with LF line ends that stand for the CR LF of a scenario file.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kv::testing {

inline std::string GoldenText(const std::string& name) {
    const std::string path = std::string(KV_GENERATOR_GOLDEN_DIR) + "/" + name + ".cp1251";
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("missing golden file " + path);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    std::string text;
    for (const char c : bytes.str()) {
        if (c == '\n')
            text += '\r';
        text += c;
    }
    return text;
}

// The items as a scenario file holds them: each followed by CR LF.
template <class Items> std::string ScenarioText(const Items& items) {
    std::string text;
    for (const std::string_view item : items) {
        text += item;
        text += "\r\n";
    }
    return text;
}

// Equal texts, or a failure that names the first line that differs.
inline ::testing::AssertionResult SameScenarioText(const std::string& got,
                                                   const std::string& expected) {
    if (got == expected)
        return ::testing::AssertionSuccess();
    std::size_t line = 1;
    std::size_t start = 0;
    std::size_t i = 0;
    for (; i < got.size() && i < expected.size() && got[i] == expected[i]; ++i) {
        if (got[i] == '\n') {
            ++line;
            start = i + 1;
        }
    }
    auto lineAt = [&](const std::string& text) {
        const std::size_t end = text.find("\r\n", start);
        return start >= text.size() ? std::string("<end of text>")
                                    : text.substr(start, end - start);
    };
    return ::testing::AssertionFailure()
           << "first difference in line " << line
           << "\n  got:      " << ::testing::PrintToString(lineAt(got))
           << "\n  expected: " << ::testing::PrintToString(lineAt(expected));
}

} // namespace kv::testing
