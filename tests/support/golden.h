// Expected texts in golden files: written by hand in UTF-8 (golden/*.txt), converted to
// Windows-1251 by the build (kv_cp1251_goldens), with LF line ends that stand for the CR LF of
// the files the library writes. Compared byte for byte; a failure names the first difference.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace kvtest {

// The bytes of a file; a failure of the running test, and "", when it cannot be read.
std::string FileBytes(const std::string& path);

// The text with every LF made CR LF.
std::string WithCrLf(std::string_view text);

// The converted golden file folder/name.cp1251 with CR LF line ends.
std::string GoldenText(const std::string& folder, const std::string& name);

// The items as a scenario file holds them: each followed by CR LF.
template <class Items> std::string ScenarioText(const Items& items) {
    std::string text;
    for (const std::string_view item : items) {
        text += item;
        text += "\r\n";
    }
    return text;
}

// Equal bytes, or a failure that names the first line that differs, as got and as expected.
::testing::AssertionResult SameBytes(std::string_view got, std::string_view expected);

} // namespace kvtest
