// The summary kvhost reads from a difference scenario: statements counted per section, removals
// named through every form the library writes a name in, re-created classes and filters passed
// over, and a text that is no whole difference refused.
#include "comparison/difference_text.h"
#include "difference_report.h"
#include "difference_summary.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace kvhost;

namespace {

// Bytes as code units, so that tests need no code page.
std::wstring Latin1(std::string_view bytes) {
    std::wstring text;
    for (unsigned char c : bytes)
        text += static_cast<wchar_t>(c);
    return text;
}

std::string Plain(std::wstring_view text) {
    std::string bytes;
    for (wchar_t c : text)
        bytes += c < 256 ? static_cast<char>(c) : '?';
    return bytes;
}

// A difference scenario with the given statement lines in its sections (1-11), framed as the
// library frames them, after the header lines every scenario starts with.
std::string Scenario(const std::map<int, std::vector<std::string>>& sections) {
    std::string text = "' header comment\r\n\r\non error resume next\r\n\r\n";
    for (int number = 1; number <= 11; ++number) {
        const auto section = static_cast<kv::DifferenceSection>(number - 1);
        text += std::string(kv::SectionBeginLine(section)) + "\r\n";
        if (auto lines = sections.find(number); lines != sections.end())
            for (const std::string& line : lines->second)
                text += line + "\r\n";
        text += std::string(kv::SectionEndLine(section)) + "\r\n\r\n";
    }
    return text + "' footer\r\n";
}

DifferenceSummary Summarise(const std::string& scenario) {
    return SummariseDifference(scenario, Latin1);
}

TEST(DifferenceSummary, EqualStructuresGiveNoStatementsWhateverTheRights) {
    const DifferenceSummary summary =
        Summarise(Scenario({{11,
                             {"' Права группы Designers", "set l_sec = mdl.zrGetLocalSecurity",
                              "  s_helper.zsRemoveRights cls,\"designers\",l_sec"}}}));
    EXPECT_EQ(summary.StatementCount(), 0);
    EXPECT_FALSE(summary.Drifts());
    EXPECT_TRUE(summary.removals.empty());
}

TEST(DifferenceSummary, CountsStatementLinesButNeitherCommentsNorEmptyLines) {
    const DifferenceSummary summary = Summarise(Scenario({
        {2,
         {"set cls = nothing", "set cls = mdl.zrGetClassVector.zrAdd(\"Item\")",
          "  cls.zrScreenName = \"Item renamed\"", ""}},
        {6,
         {"if IsObject(InstInit) then InstInit.ProgressBarItem.StepIt", "' a comment",
          "   ' an indented comment", "  s_after = \"Cost\"", "   "}},
    }));
    std::array<int, kStructureSections> expected{};
    expected[1] = 3;
    expected[5] = 2;
    EXPECT_EQ(summary.statements, expected);
    EXPECT_EQ(summary.StatementCount(), 5);
    EXPECT_TRUE(summary.Drifts());
    EXPECT_TRUE(summary.removals.empty());
}

TEST(DifferenceSummary, NamesEveryKindOfRemoval) {
    const DifferenceSummary summary = Summarise(Scenario({
        {3, {"' Удалить класс Tool", "mdl.zrGetClassVector.zrRemove \"Tool\""}},
        {5,
         {"set cls = nothing", "set cls = mdl.zrGetClassVector.zrAdd(\"Item\")",
          "  cls.zrRemoveChildClass \"Tool\"", "  cls.zrRemoveChildClass \"Jig\""}},
        {7,
         {"' Удалить атирбут Weight", "set cls = nothing",
          "set cls = mdl.zrGetClassVector.zrLocate(\"Part\")", "if not (cls is nothing) then",
          "cls.zrRemoveClassValue \"Weight\"", "end if"}},
        {9,
         {"set flt = mdl.zrGetClassVector.zrFilterVector",
          "  flt.zrAddConstraint \"Products\",\"Fixture\"",
          "  flt.zrRemoveConstraint \"Products\", \"Item\""}},
        {10,
         {"' Фильтр Old", "set flt = mdl.zrGetClassVector.zrFilterVector",
          "  flt.zrRemoveFilter \"Old\""}},
    }));
    const Removals& removals = summary.removals;
    EXPECT_EQ(removals.classes, std::vector<std::wstring>{L"Tool"});
    ASSERT_EQ(removals.childLinks.size(), 2u);
    EXPECT_EQ(removals.childLinks[0].parent, L"Item");
    EXPECT_EQ(removals.childLinks[0].child, L"Tool");
    EXPECT_EQ(removals.childLinks[1].child, L"Jig");
    ASSERT_EQ(removals.attributes.size(), 1u);
    EXPECT_EQ(removals.attributes[0].className, L"Part");
    EXPECT_EQ(removals.attributes[0].attribute, L"Weight");
    EXPECT_EQ(removals.filters, std::vector<std::wstring>{L"Old"});
    ASSERT_EQ(removals.constraints.size(), 1u);
    EXPECT_EQ(removals.constraints[0].filter, L"Products");
    EXPECT_EQ(removals.constraints[0].className, L"Item");

    EXPECT_EQ(RemovalsText(removals, Plain), "  class \"Tool\"\n"
                                             "  child link \"Item\" -> \"Tool\"\n"
                                             "  child link \"Item\" -> \"Jig\"\n"
                                             "  attribute \"Weight\" of class \"Part\"\n"
                                             "  filter \"Old\"\n"
                                             "  constraint \"Item\" of filter \"Products\"\n");
}

// The difference removes a class or filter before creating it whole; only a removal that nothing
// re-creates in its section takes something away.
TEST(DifferenceSummary, ARemovalBeforeTheSameNameIsCreatedIsNoRemoval) {
    const DifferenceSummary summary = Summarise(Scenario({
        {1,
         {"' Удалить класс Fixture", "mdl.zrGetClassVector.zrRemove \"Fixture\"",
          "set cls = nothing", "set cls = mdl.zrGetClassVector.zrAdd(\"Fixture\")",
          "mdl.zrGetClassVector.zrRemove \"Stray\""}},
        {9,
         {"set flt = mdl.zrGetClassVector.zrFilterVector", "  flt.zrRemoveFilter \"Fixtures\"",
          "  flt.zrCreateFilterEx \"Fixtures\",\"Fixtures\"",
          "  flt.zrAddConstraint \"Fixtures\",\"Fixture\"", "  flt.zrRemoveFilter \"Gone\""}},
    }));
    EXPECT_EQ(summary.removals.classes, std::vector<std::wstring>{L"Stray"});
    EXPECT_EQ(summary.removals.filters, std::vector<std::wstring>{L"Gone"});
}

// Every form in which the library writes a name into a literal reads back as the name.
TEST(DifferenceSummary, ReadsNamesInEveryFormTheLibraryWrites) {
    struct Case {
        std::string literal;
        std::wstring name;
    };
    const Case cases[] = {
        {"\"Plain\"", L"Plain"},
        {"\"Say \"\"hi\"\"\"", L"Say \"hi\""},
        {"\"\"\"\"", L"\""},
        {"\"\"", L""},
        {"\"mm\"&ChrW(178)&\"\"", L"mm\u00B2"},
        {"\"a\"&Chr(13)&Chr(10)&\"b\"", L"a\r\nb"},
        {"\"x\" & ChrW(-10179) & ChrW(56832)",
         std::wstring(L"x") + wchar_t(0xD83D) + wchar_t(0xDE00)},
        {"\"caf\xE9\"", L"caf\u00E9"},
    };
    for (const Case& c : cases) {
        const DifferenceSummary summary = Summarise(
            Scenario({{3, {"mdl.zrGetClassVector.zrRemove " + c.literal}},
                      {9, {"  flt.zrRemoveConstraint " + c.literal + ", " + c.literal}}}));
        ASSERT_EQ(summary.removals.classes.size(), 1u) << c.literal;
        EXPECT_EQ(summary.removals.classes[0], c.name) << c.literal;
        ASSERT_EQ(summary.removals.constraints.size(), 1u) << c.literal;
        EXPECT_EQ(summary.removals.constraints[0].filter, c.name) << c.literal;
        EXPECT_EQ(summary.removals.constraints[0].className, c.name) << c.literal;
    }
}

TEST(DifferenceSummary, RefusesWhatIsNoWholeDifference) {
    std::string whole = Scenario({});
    const std::string begin3(kv::SectionBeginLine(kv::DifferenceSection::RemovedClasses));
    const std::string end3(kv::SectionEndLine(kv::DifferenceSection::RemovedClasses));
    const std::string begin11(kv::SectionBeginLine(kv::DifferenceSection::Rights));
    auto without = [&](const std::string& line) {
        std::string text = whole;
        text.erase(text.find(line), line.size() + 2);
        return text;
    };
    const std::string refused[] = {
        "",
        "on error resume next\r\nmdl.zrGetClassVector.zrRemove \"Tool\"\r\n",
        without(begin3),
        without(end3),
        without(begin11),
        // A removal whose name cannot be read is never passed over.
        Scenario({{3, {"mdl.zrGetClassVector.zrRemove someVariable"}}}),
        Scenario({{5, {"  cls.zrRemoveChildClass \"unterminated"}}}),
        Scenario({{9, {"  flt.zrRemoveConstraint \"Products\" \"Item\""}}}),
    };
    for (const std::string& text : refused)
        EXPECT_THROW(Summarise(text), NotADifference) << text;
}

TEST(DifferenceSummary, AcceptsLineFeedsAlone) {
    std::string text = Scenario({{3, {"mdl.zrGetClassVector.zrRemove \"Tool\""}}});
    std::string unix_text;
    for (char c : text)
        if (c != '\r')
            unix_text += c;
    EXPECT_EQ(Summarise(unix_text).removals.classes, std::vector<std::wstring>{L"Tool"});
}

TEST(DifferenceReport, JsonCarriesWhatTheTextSays) {
    const DifferenceSummary summary = Summarise(Scenario({
        {3, {"mdl.zrGetClassVector.zrRemove \"T\"&ChrW(246)&\"ol\""}},
        {5,
         {"set cls = mdl.zrGetClassVector.zrAdd(\"Item\")", "  cls.zrRemoveChildClass \"Tool\""}},
        {7, {"set cls = mdl.zrGetClassVector.zrLocate(\"Part\")", "cls.zrRemoveClassValue \"W\""}},
        {9, {"  flt.zrRemoveConstraint \"Products\", \"Item\""}},
        {10, {"  flt.zrRemoveFilter \"Old\""}},
    }));
    const nlohmann::json json = nlohmann::json::parse(SummaryJson(summary));
    ASSERT_EQ(json["sections"].size(), 10u);
    for (int number = 1; number <= kStructureSections; ++number) {
        const nlohmann::json& section = json["sections"][number - 1];
        EXPECT_EQ(section["section"], number);
        EXPECT_EQ(section["name"], std::string(SectionName(number)));
        EXPECT_EQ(section["statements"], summary.statements[number - 1]);
    }
    EXPECT_EQ(json["statements"], summary.StatementCount());
    EXPECT_EQ(json["drift"], true);
    const nlohmann::json& removals = json["removals"];
    EXPECT_EQ(removals["classes"], nlohmann::json::array({"T\xC3\xB6ol"}));
    EXPECT_EQ(removals["childLinks"][0]["parent"], "Item");
    EXPECT_EQ(removals["childLinks"][0]["child"], "Tool");
    EXPECT_EQ(removals["attributes"][0]["class"], "Part");
    EXPECT_EQ(removals["attributes"][0]["attribute"], "W");
    EXPECT_EQ(removals["filters"], nlohmann::json::array({"Old"}));
    EXPECT_EQ(removals["constraints"][0]["filter"], "Products");
    EXPECT_EQ(removals["constraints"][0]["class"], "Item");

    const std::string text = SummaryText(summary, Plain);
    EXPECT_NE(text.find("section  3  removed classes"), std::string::npos) << text;
    EXPECT_NE(text.find("statements in sections 1-10: 7"), std::string::npos) << text;
    EXPECT_NE(text.find("removals:\n  class \"T\xF6ol\"\n"), std::string::npos) << text;
}

TEST(DifferenceReport, Utf8JoinsSurrogatePairsAndReplacesLoneOnes) {
    const std::wstring pair{wchar_t(0xD83D), wchar_t(0xDE00)};
    EXPECT_EQ(Utf8(L"A\u00B2\u20AC"), "A\xC2\xB2\xE2\x82\xAC");
    EXPECT_EQ(Utf8(pair), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8(std::wstring(1, wchar_t(0xDE00)) + L"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf8(std::wstring(1, wchar_t(0xD83D))), "\xEF\xBF\xBD");
}

} // namespace
