// Filling templates: "%s" and "%d" left to right, values inserted verbatim, and mismatches
// between a template and its values refused as the programming errors they are.
#include "recording/script_format.h"
#include "recording/templates.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <stdexcept>
#include <string>

namespace {

TEST(Format, FillsPlaceholdersLeftToRight) {
    EXPECT_EQ(kv::Format(kv::tplClassName, {"Order"}), "  cls.zrName = \"Order\"");
    EXPECT_EQ(kv::Format(kv::tplClassPosition, {120, -35}), "  s_helper.zsSetCoors cls, 120, -35");
    EXPECT_EQ(kv::Format(kv::tplGiveClassRights, {INT32_MIN, "{GROUP}"}),
              "  s_helper.zsGiveRights cls,-2147483648,\"{GROUP}\",mdl.zrGetLocalSecurity");
    EXPECT_EQ(kv::Format(kv::tplSwapAttrs, {"first", "second"}),
              "cls.zrSwapClassValues \"first\",\"second\"");
    EXPECT_EQ(kv::Format(kv::tplAttrType, {0}), "  cval.zrType = 0");
    EXPECT_EQ(kv::Format(kv::tplEndIfClass, {}), "end if");
}

TEST(Format, NeverInterpretsAPercentInAValue) {
    // The first value looks like a directive; the second placeholder still takes the second.
    EXPECT_EQ(kv::Format(kv::tplSwapAttrs, {"50%d%s", "%"}),
              "cls.zrSwapClassValues \"50%d%s\",\"%\"");
    EXPECT_EQ(kv::Format("%s", {std::string("a\0b", 3)}), std::string("a\0b", 3));
    EXPECT_EQ(kv::Format("%s|%s", {"", ""}), "|");
}

TEST(Format, RefusesTemplatesAndValuesThatDoNotMatch) {
    const struct {
        const char* what;
        std::function<std::string()> format;
    } cases[] = {
        {"too few values", [] { return kv::Format("%s and %s", {"a"}); }},
        {"no values", [] { return kv::Format("%d", {}); }},
        {"too many values",
         [] {
             return kv::Format("%s", {"a", "b"});
         }},
        {"values for a fixed text", [] { return kv::Format(kv::tplEndIfClass, {"a"}); }},
        {"integer for %s", [] { return kv::Format("%s", {5}); }},
        {"text for %d", [] { return kv::Format("%d", {"5"}); }},
        {"unknown directive", [] { return kv::Format("%x", {"a"}); }},
        {"percent sign at the end", [] { return kv::Format("100%", {}); }},
        {"doubled percent", [] { return kv::Format("%%", {}); }},
    };
    for (const auto& c : cases)
        EXPECT_THROW(c.format(), std::invalid_argument) << c.what;
}

} // namespace
