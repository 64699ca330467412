// Every template's exact bytes against the golden fixture: the texts written out by hand in
// UTF-8 and converted to Windows-1251 by iconv at build time, so this also proves that the
// compiled texts are Windows-1251.
#include "text/scenario_templates.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

// \r, \n, \t and \" stand for CR, LF, tab and a quote; every other character for itself.
std::string DecodeEscapes(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '\\' && (next == 'r' || next == 'n' || next == 't' || next == '"')) {
            result += next == 'r' ? '\r' : next == 'n' ? '\n' : next == 't' ? '\t' : '"';
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::map<std::string, std::string> ReadGolden() {
    std::ifstream file(KV_TEMPLATES_GOLDEN, std::ios::binary);
    EXPECT_TRUE(file) << "cannot open " << KV_TEMPLATES_GOLDEN;
    std::map<std::string, std::string> golden;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto tab = line.find('\t');
        EXPECT_NE(tab, std::string::npos) << line;
        const bool added =
            golden.emplace(line.substr(0, tab), DecodeEscapes(line.substr(tab + 1))).second;
        EXPECT_TRUE(added) << "duplicate " << line.substr(0, tab);
    }
    return golden;
}

std::string Visible(std::string_view text) {
    std::ostringstream out;
    for (const unsigned char c : text) {
        if (c == '\r')
            out << "\\r";
        else if (c == '\n')
            out << "\\n";
        else if (c >= 0x80)
            out << "\\x" << std::hex << static_cast<int>(c) << std::dec;
        else
            out << c;
    }
    return out.str();
}

TEST(Templates, EveryTextIsExactlyTheGoldenWindows1251Text) {
    const auto golden = ReadGolden();
    ASSERT_FALSE(golden.empty());
    std::set<std::string> seen;
    for (const kv::NamedTemplate& entry : kv::TemplateCatalogue()) {
        const std::string name(entry.name);
        EXPECT_TRUE(seen.insert(name).second) << "listed twice: " << name;
        const auto expected = golden.find(name);
        if (expected == golden.end()) {
            ADD_FAILURE() << "not in the golden file: " << name;
            continue;
        }
        EXPECT_EQ(Visible(entry.text), Visible(expected->second)) << name;
    }
    for (const auto& [name, text] : golden)
        EXPECT_TRUE(seen.count(name)) << "missing from the catalogue: " << name;
}

} // namespace
