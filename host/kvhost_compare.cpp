// kvhost compare: two structure files compared in everything a recording carries, as the
// fidelity tests compare them, with property values as the platform writes them into scenarios.
#include "kvhost_commands.h"

#include "kvhost_support.h"
#include "platform_value_text.h"
#include "recorded_comparison.h"

#include "core/structure_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace kvhost {
namespace {

constexpr int kEqual = 0;
constexpr int kDifferent = 1;
constexpr int kUnreadable = 2;

// A structure file as the kernel reads it; raises a HostError naming the file and the place.
zk::Structure ReadStructure(const std::string& path) {
    std::ifstream file(Widen(path).c_str(), std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf()))
        throw HostError("cannot read " + path);
    try {
        return zk::ReadStructureFile(text.str());
    } catch (const zk::KernelError& error) {
        throw HostError(path + ": " + error.what());
    }
}

// Difference lines are UTF-8 like the structure; kvhost prints in the ANSI code page.
std::string AnsiFromUtf8(const std::string& text) {
    if (text.empty())
        return {};
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return Narrow(wide.data(), wide.size());
}

} // namespace

int CompareStructures(const std::string& expected_path, const std::string& actual_path) {
    zk::Structure expected, actual;
    try {
        expected = ReadStructure(expected_path);
        actual = ReadStructure(actual_path);
    } catch (const HostError& error) {
        std::fprintf(stderr, "kvhost: %s\n", AnsiFromUtf8(error.what()).c_str());
        return kUnreadable;
    }
    const std::vector<std::string> lines =
        kvgen::RecordedComparison(expected, actual, kvgen::PlatformValueText);
    for (const std::string& line : lines)
        std::printf("%s\n", AnsiFromUtf8(line).c_str());
    if (lines.empty()) {
        std::printf("the structures are equal\n");
        return kEqual;
    }
    std::printf("%zu differences\n", lines.size());
    return kDifferent;
}

} // namespace kvhost
