#include "golden.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

// The header item ends with a line break of its own; its item separator follows.
constexpr char kHeaderEnd[] = "CreateObject(\"korvalith.ZScriptHelper\")\r\n\r\n";

std::size_t FooterStart() {
    const std::string empty = Golden("empty");
    const std::size_t end = empty.find(kHeaderEnd);
    EXPECT_NE(end, std::string::npos) << "the empty scenario has no header end";
    return end == std::string::npos ? 0 : end + sizeof(kHeaderEnd) - 1;
}

} // namespace

std::string Golden(const char* name) {
    const std::string path = std::string(KV_SESSION_GOLDEN_DIR) + name + ".cp1251";
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << "cannot open " << path;
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

std::string HeaderPart() {
    return Golden("empty").substr(0, FooterStart());
}

std::string FooterPart() {
    return Golden("empty").substr(FooterStart());
}
