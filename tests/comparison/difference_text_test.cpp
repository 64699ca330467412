// The parts of the difference scenario that need no kernel: which parameters give statements and
// with which value, the rule for property values, and the blocks of sections 2, 4, 5 and 8.
#include "comparison/difference_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace kv {
namespace {

// ASCII texts written as the byte encodings write them; the library's own writers, which carry
// every character, are tested with the platform.
std::string Narrow(std::wstring_view text) {
    return std::string(text.begin(), text.end());
}
const TextWriters kAsciiWriters{
    [](std::wstring_view text) { return PlainTextInLiteral(Narrow(text)); },
    [](std::wstring_view text) { return CodeLiteral(Narrow(text)); }};

AttributeParameters SomeAttribute() {
    AttributeParameters a;
    a.type = 1;
    a.dataType[0] = 0x01;
    a.functionCode = L"x = 1";
    a.blocked = false;
    a.measureUnit = L"kg";
    a.measureEntity = L"mass";
    a.forbidInput = false;
    return a;
}

struct ParameterCase {
    const char* what;
    std::function<void(AttributeParameters&)> change;
    std::string statement;
};

TEST(AttributeParameterStatements, EachDifferenceGivesOneStatementWithTheTargetValue) {
    const std::vector<ParameterCase> cases = {
        {"type", [](AttributeParameters& a) { a.type = -7; }, "  cval.zrType = -7"},
        {"data type", [](AttributeParameters& a) { a.dataType[3] = 0xD0; },
         "  s_helper.zsSetCValDataType cval, \"{D0000001-0000-0000-0000-000000000000}\""},
        {"function code", [](AttributeParameters& a) { a.functionCode = L"a\nb"; },
         "  cval.zrFunctionCode = \"a\"&Chr(13)&Chr(10)&\"b\""},
        {"blocked", [](AttributeParameters& a) { a.blocked = true; }, "  cval.zrBlocked = true"},
        {"unit", [](AttributeParameters& a) { a.measureUnit = L"g"; },
         "  cval.zrMeasureUnit = \"g\""},
        {"entity", [](AttributeParameters& a) { a.measureEntity = L""; },
         "  cval.zrMeasureEntity = \"\""},
        {"forbid input", [](AttributeParameters& a) { a.forbidInput = true; },
         "  cval.zrForbidInput = true"},
    };
    for (const ParameterCase& c : cases) {
        AttributeParameters target = SomeAttribute();
        c.change(target);
        EXPECT_EQ(AttributeParameterStatements(target, SomeAttribute(), kAsciiWriters),
                  std::vector<std::string>{c.statement})
            << c.what;
    }
}

TEST(AttributeParameterStatements, EqualParametersGiveNothingAndAllDifferencesKeepTheirOrder) {
    EXPECT_TRUE(
        AttributeParameterStatements(SomeAttribute(), SomeAttribute(), kAsciiWriters).empty());

    AttributeParameters target;
    target.type = 2;
    target.blocked = true;
    target.forbidInput = true;
    target.measureUnit = L"u";
    const std::vector<std::string> expected = {
        "  cval.zrType = 2",
        "  s_helper.zsSetCValDataType cval, \"{00000000-0000-0000-0000-000000000000}\"",
        "  cval.zrFunctionCode = \"\"",
        "  cval.zrBlocked = true",
        "  cval.zrMeasureUnit = \"u\"",
        "  cval.zrMeasureEntity = \"\"",
        "  cval.zrForbidInput = true",
    };
    EXPECT_EQ(AttributeParameterStatements(target, SomeAttribute(), kAsciiWriters), expected);
}

TEST(ClassParameterStatements, ScreenNameThenBlockedForWhatDiffers) {
    const ClassParameters current{L"Old", false};
    EXPECT_TRUE(ClassParameterStatements(current, current, kAsciiWriters).empty());
    EXPECT_EQ(ClassParameterStatements({L"New", true}, current, kAsciiWriters),
              (std::vector<std::string>{"  cls.zrScreenName = \"New\"", "  cls.zrBlocked = true"}));
    EXPECT_EQ(ClassParameterStatements({L"Old", true}, current, kAsciiWriters),
              std::vector<std::string>{"  cls.zrBlocked = true"});
    // A quote in a screen name stays inside its literal.
    EXPECT_EQ(ClassParameterStatements({L"say \"x\"", false}, current, kAsciiWriters),
              std::vector<std::string>{"  cls.zrScreenName = \"say \"\"x\"\"\""});
}

TEST(SamePropertyValue, EqualTextsAreEqualAndAMissingPropertyNeverIs) {
    struct Case {
        std::wstring target;
        PropertyText current;
        bool same;
    };
    const Case cases[] = {
        {L"10", std::wstring(L"10"), true}, // a number against its text, as a scenario sets it
        {L"", std::wstring(L""), true},
        {L"a", std::wstring(L"b"), false},
        {L"", std::nullopt, false}, // an empty value the current attribute lacks is written
        {L"x", std::nullopt, false},
        {L"a ", std::wstring(L"a"), false},
        // Compared code unit by code unit: no code page comes between them.
        {L"\u00B2", std::wstring(L"\u00B3"), false},
        {L"\u00B2", std::wstring(L"\u00B2"), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SamePropertyValue(c.target, c.current), c.same)
            << "target \"" << Narrow(c.target) << "\", current "
            << (c.current ? "\"" + Narrow(*c.current) + "\"" : std::string("missing"));
}

TEST(DifferenceBlocks, NoStatementsGiveNoBlock) {
    EXPECT_TRUE(ClassBlock("A", {}).empty());
    EXPECT_TRUE(AttributeBlock("A", "x", {}, {}).empty());
}

TEST(DifferenceBlocks, ClassBlockAddressesTheClassThenJoinsTheStatements) {
    EXPECT_EQ(ClassBlock("Part", {AddChildStatement("Tool"), AddChildStatement("Nut")}),
              (std::vector<std::string>{
                  "set cls = nothing\r\nset cls = mdl.zrGetClassVector.zrAdd(\"Part\")",
                  "  cls.zrAddChildClass \"Tool\"\r\n  cls.zrAddChildClass \"Nut\"\r\n"}));
}

TEST(DifferenceBlocks, PropertiesFollowTheirVariableAsOneMoreJoinedItem) {
    const std::vector<std::string> expected = {
        "set cls = nothing\r\nset cls = mdl.zrGetClassVector.zrAdd(\"Part\")",
        "set cval = nothing\r\nset cval = cls.zrAddClassValue(\"Mass\")",
        "  cval.zrType = 2\r\n"
        "  set props = cval.zrProperties\r\n"
        "    props.zrAddProp \"Hint\",\"say \"\"hi\"\"\"\r\n"
        "    props.zrAddProp \"Note\",\"\"\r\n"
        "\r\n",
    };
    EXPECT_EQ(
        AttributeBlock("Part", "Mass", {"  cval.zrType = 2"},
                       {PropertyStatement("Hint", "say \"hi\""), PropertyStatement("Note", "")}),
        expected);

    // Properties alone still address the attribute.
    EXPECT_EQ(AttributeBlock("Part", "Mass", {}, {PropertyStatement("a", "1")}).back(),
              "  set props = cval.zrProperties\r\n    props.zrAddProp \"a\",\"1\"\r\n\r\n");
}

TEST(DifferenceStatements, NamesStayInsideTheirLiterals) {
    EXPECT_EQ(MoveAttributeAfterStatement("").substr(0, 15), "  s_after = \"\"\r");
    EXPECT_EQ(AddConstraintStatement("F\"", "C"), "  flt.zrAddConstraint \"F\"\"\",\"C\"");
    EXPECT_EQ(RemoveConstraintStatement("F", "a\nb"),
              "  flt.zrRemoveConstraint \"F\", \"a\"&Chr(10)&\"b\"");
    EXPECT_EQ(RemoveChildStatement("x\"y"), "  cls.zrRemoveChildClass \"x\"\"y\"");
}

TEST(DifferenceSections, ElevenDistinctFramesInOrder) {
    std::vector<std::string> lines;
    for (int i = 0; i < kDifferenceSectionCount; ++i) {
        const auto section = static_cast<DifferenceSection>(i);
        const std::string begin(SectionBeginLine(section));
        const std::string end(SectionEndLine(section));
        EXPECT_TRUE(begin.ends_with(" - begin")) << begin;
        EXPECT_EQ(end, begin.substr(0, begin.size() - 5) + "end");
        lines.push_back(begin);
    }
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(std::unique(lines.begin(), lines.end()), lines.end());
}

} // namespace
} // namespace kv
