// Filling templates: "%s" and "%d" left to right, values inserted verbatim, and mismatches
// between a template and its values refused as the programming errors they are.
#include "text/script_format.h"
#include "text/scenario_templates.h"

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

// Templates of the catalogues find their placeholders when the program is compiled; a template
// made at run time finds them the same way.
TEST(ScriptTemplate, FindsItsPlaceholdersWhenMade) {
    static constexpr kv::ScriptTemplate made("a%sb%d%s");
    static_assert(made.placeholders().size() == 3);
    static_assert(made.placeholders()[0].position == 1 && !made.placeholders()[0].integer);
    static_assert(made.placeholders()[1].position == 4 && made.placeholders()[1].integer);
    static_assert(made.placeholders()[2].position == 6 && !made.placeholders()[2].integer);
    EXPECT_EQ(kv::Format(made, {"1", 2, "3"}),
              kv::Format(std::string_view("a%sb%d%s"), {"1", 2, "3"}));
    const std::string nine = "%s%s%s%s%s%s%s%s%s";
    EXPECT_THROW(kv::ScriptTemplate{nine}, std::invalid_argument)
        << "more placeholders than a template holds";
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
