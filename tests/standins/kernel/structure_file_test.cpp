// The structure file: exact round trips, and malformed files that fail naming the place.
#include "core/structure_file.h"
#include "structure_description.h"
#include "structure_samples.h"

#include <gtest/gtest.h>

#include <string>

namespace zk {
namespace {

using testing::Describe;

TEST(StructureFile, RoundTripKeepsEverything) {
    Structure original = testing::RichStructure();
    std::string text = WriteStructureFile(original);
    Structure loaded = ReadStructureFile(text);
    EXPECT_EQ(Describe(loaded), Describe(original));
    EXPECT_FALSE(loaded.Modified());
    EXPECT_EQ(WriteStructureFile(loaded), text);
}

TEST(StructureFile, IsReadableText) {
    std::string text = WriteStructureFile(testing::RichStructure());
    EXPECT_NE(text.find("\"format\": \"zkernel-structure\""), std::string::npos);
    EXPECT_NE(text.find("\"name\": \"Деталь\""), std::string::npos); // UTF-8, not escaped
    EXPECT_NE(text.find("\"inherited\": \"mass\""), std::string::npos);
    EXPECT_NE(text.find("\\r\\n"), std::string::npos);
}

TEST(StructureFile, ReplacingAnEventGroupKeepsTheRest) {
    Structure original = testing::RichStructure();
    std::string text = WriteStructureFile(original);
    EventGroup changed = *original.FindEventGroup("UserGroup.xml");
    SetHandlerCode(changed, Guid{}, Guid{}, 0, "' commented\r\n");
    EventGroup added{"New.xml", {{NewGuid(), Guid{}, 20, "x"}}};

    std::string rewritten = ReplaceEventGroup(ReplaceEventGroup(text, changed), added);
    auto groups = ReadEventGroups(rewritten);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0], changed);
    EXPECT_EQ(groups[1], *original.FindEventGroup("Empty.xml"));
    EXPECT_EQ(groups[2], added);

    Structure reread = ReadStructureFile(rewritten);
    original.SetEventGroup(changed);
    original.SetEventGroup(added);
    EXPECT_EQ(Describe(reread), Describe(original));
}

TEST(StructureFile, ShortHandWrittenFilesTakeDefaults) {
    Structure s = ReadStructureFile(R"({"format": "zkernel-structure", "version": 1,
        "classes": [{"name": "D", "base": "B", "attributes": [{"name": "own"}]},
                    {"name": "B", "attributes": [{"name": "b"}]}]})");
    EXPECT_EQ(testing::AttributeList(s, "D"), "own b^");
    EXPECT_FALSE(s.Class(s.FindClass("D")).guid.IsNull());
}

struct MalformedCase {
    const char* name;
    std::string text;
    const char* place; // must appear in the message
};

std::string File(const std::string& body) {
    return R"({"format": "zkernel-structure", "version": 1, )" + body + "}";
}

class MalformedFile : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedFile, FailsNamingThePlace) {
    try {
        ReadStructureFile(GetParam().text);
        FAIL() << "the file was accepted";
    } catch (const KernelError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::BadFile);
        EXPECT_NE(std::string(error.what()).find(GetParam().place), std::string::npos)
            << error.what();
    }
}

const MalformedCase kMalformedCases[] = {
    {"Empty", "", "line 1, column 1"},
    {"Truncated", WriteStructureFile(testing::RichStructure()).substr(0, 700), "not valid JSON"},
    {"TruncatedAfterTwoLines", "{\n  \"format\": \"zkernel-structure\",\n  \"vers", "line 3"},
    {"BinaryGarbage", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "line 1, column 1"},
    {"NulAfterACompleteFile",
     R"({"format": "zkernel-structure", "version": 1})" + std::string("\0\0garbage", 9),
     "line 1, column 46: not valid JSON: a NUL byte"},
    {"NulInsideAString", "{\n\"format\": \"zkernel" + std::string("\0", 1) + "\"}",
     "line 2, column 19: not valid JSON: a NUL byte"},
    {"InvalidUtf8", File(R"("name": ")" + std::string("\xC3\x28") + "\"}"), "not valid JSON"},
    {"NotAnObject", "[1, 2]", "at /: expected an object"},
    {"WrongFormat", R"({"format": "other", "version": 1})", "at /format"},
    {"WrongVersion", R"({"format": "zkernel-structure", "version": 2})",
     "at /version: unsupported version 2"},
    {"VersionAsText", R"({"format": "zkernel-structure", "version": "1"})", "at /version"},
    {"ClassesNotAnArray", File(R"("classes": {})"), "at /classes: expected an array"},
    {"ClassNameNumber", File(R"("classes": [{"name": 5}])"),
     "at /classes/0/name: expected a string"},
    {"ClassWithoutName", File(R"("classes": [{"screenName": "x"}])"),
     "at /classes/0/name: required field"},
    {"UnknownField", File(R"("classes": [{"name": "A", "colour": 1}])"),
     "at /classes/0/colour: unknown field"},
    {"BadGuid", File(R"("classes": [{"name": "A", "guid": "{123}"}])"), "at /classes/0/guid"},
    {"TypeOutOfRange",
     File(R"("classes": [{"name": "A", "attributes": [{"name": "a", "type": 4294967296}]}])"),
     "at /classes/0/attributes/0/type: expected a 32-bit integer"},
    {"BlockedAsNumber", File(R"("classes": [{"name": "A", "blocked": 1}])"),
     "at /classes/0/blocked: expected true or false"},
    {"PropertyValueOutOfRange", File(R"("classes": [{"name": "A", "attributes": [{"name": "a",
        "properties": [{"name": "p", "type": "UI1", "value": 256}]}]}])"),
     "at /classes/0/attributes/0/properties/0/value"},
    {"UnknownValueType", File(R"("classes": [{"name": "A", "attributes": [{"name": "a",
        "properties": [{"name": "p", "type": "Object"}]}]}])"),
     "at /classes/0/attributes/0/properties/0/type"},
    {"UnknownBase", File(R"("classes": [{"name": "A", "base": "Z"}])"),
     "at /classes/0/base: no class named 'Z'"},
    {"BaseCycle", File(R"("classes": [{"name": "A", "base": "B"}, {"name": "B", "base": "A"}])"),
     "at /classes/1/base"},
    {"UnknownChild", File(R"("classes": [{"name": "A", "children": ["A", "Q"]}])"),
     "at /classes/0/children/1"},
    {"DuplicateClass", File(R"("classes": [{"name": "A"}, {"name": "A"}])"), "at /classes/1/name"},
    {"InheritedWithoutBase",
     File(R"("classes": [{"name": "A", "attributes": [{"inherited": "x"}]}])"),
     "at /classes/0/attributes/0/inherited"},
    {"InheritedMissingInBase", File(R"("classes": [{"name": "A", "base": "B",
        "attributes": [{"inherited": "x"}]}, {"name": "B"}])"),
     "at /classes/0/attributes/0/inherited: base class 'B' has no attribute 'x'"},
    {"DuplicateAttribute", File(R"("classes": [{"name": "A",
        "attributes": [{"name": "x"}, {"name": "x"}]}])"),
     "at /classes/0/attributes/1"},
    {"RightsNotAnInteger",
     File(R"("groups": [{"id": "g", "rights": [{"key": "{00000000-0000-0000-0000-000000000001}",
        "rights": 1.5}]}])"),
     "at /groups/0/rights/0/rights"},
    {"EventHandlerKindMissing",
     File(R"("eventGroups": [{"name": "G", "handlers": [{"code": "x"}]}])"),
     "at /eventGroups/0/handlers/0/kind"},
    {"DeepNesting", std::string(100000, '[') + std::string(100000, ']'), "at /"},
    {"NumberTooLarge", File(R"("classes": [{"name": "A", "position": {"x": 1e999}}])"),
     "line 1, column 95: not valid JSON: number overflow parsing '1e999'"},
    {"DeepVersion",
     R"({"format": "zkernel-structure", "version": )" + std::string(100000, '[') +
         std::string(100000, ']') + "}",
     "at /version: unsupported version"},
    {"DeepPropertyValue",
     File(R"("classes": [{"name": "A", "attributes": [{"name": "a",
        "properties": [{"name": "p", "type": "I4", "value": )" +
          std::string(100000, '[') + std::string(100000, ']') + "}]}]}]"),
     "at /classes/0/attributes/0/properties/0/value"},
};

INSTANTIATE_TEST_SUITE_P(StructureFile, MalformedFile, ::testing::ValuesIn(kMalformedCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zk
