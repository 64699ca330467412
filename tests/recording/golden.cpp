#include "golden.h"

#include <gtest/gtest.h>

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

std::string Golden(const std::string& name) {
    return kvtest::GoldenText(KV_RECORDING_GOLDEN_DIR, name);
}

std::string HeaderPart() {
    return Golden("empty").substr(0, FooterStart());
}

std::string FooterPart() {
    return Golden("empty").substr(FooterStart());
}
