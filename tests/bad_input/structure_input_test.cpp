// Structure files that scripts may hand to kvhost: empty, truncated, malformed, of another
// version, binary, missing. Every command fails naming the file and the place, and writes
// nothing.
#include "bad_input_fixture.h"

namespace {

struct StructureCase {
    const char* name;
    std::function<std::string(const std::string& good)> text; // from a good structure file
    std::string said;
};

void PrintTo(const StructureCase& c, std::ostream* out) {
    *out << c.name;
}

const StructureCase kStructureCases[] = {
    {"Empty", [](const std::string&) { return std::string(); },
     "structure file, at line 1, column 1: not valid JSON"},
    {"Truncated", [](const std::string& good) { return good.substr(0, good.size() / 2); },
     "not valid JSON"},
    {"NotJson", [](const std::string&) { return std::string("{ classes: [] }"); },
     "structure file, at line 1, column 3: not valid JSON"},
    {"WrongShape",
     [](const std::string&) {
         return std::string(R"({"format": "zkernel-structure", "version": 1,
                               "classes": [{"name": "A", "base": "Missing"}]})");
     },
     "structure file, at /classes/0/base: no class named 'Missing'"},
    {"OtherVersion",
     [](const std::string&) {
         return std::string(R"({"format": "zkernel-structure", "version": 2})");
     },
     "structure file, at /version: unsupported version 2"},
    {"Binary",
     [](const std::string& good) { return good.substr(0, 40) + std::string("\0\x01\xFF", 3); },
     "structure file, at line 3, column 6: not valid JSON: a NUL byte"},
};

class StructureInput : public BadInputTest, public ::testing::WithParamInterface<StructureCase> {};

TEST_P(StructureInput, EveryCommandFailsNamingThePlaceAndWritesNothing) {
    StoreStructure(Path("good.ztp"));
    const std::string text = GetParam().text(ReadBytes(Path("good.ztp")));
    WriteBytes(Path("bad.ztp"), text);
    WriteBytes(Path("scenario.vbs"), "mdl.zrGetClassVector.zrAdd(\"X\")\r\n");
    const std::set<std::string> files = FilesIn(folder_);

    const std::vector<std::string> commands[] = {
        {"run", Path("scenario.vbs"), "--model", Path("bad.ztp"), "--save", Path("out.ztp")},
        {"run", Path("scenario.vbs"), "--model", Path("bad.ztp")},
        {"record", "--model", Path("bad.ztp"), "-o", Path("out.vbs")},
        {"html", Path("bad.ztp"), "-o", Path("out.htm")},
    };
    for (const std::vector<std::string>& arguments : commands) {
        const ProcessOutcome outcome = RunHost(arguments);
        EXPECT_EQ(outcome.exit_code, 1u) << Describe(arguments, outcome);
        EXPECT_NE(outcome.output.find("cannot load '" + Path("bad.ztp") + "'"), std::string::npos)
            << Describe(arguments, outcome);
        EXPECT_NE(outcome.output.find(GetParam().said), std::string::npos)
            << Describe(arguments, outcome);
        EXPECT_EQ(FilesIn(folder_), files) << Describe(arguments, outcome);
        EXPECT_EQ(ReadBytes(Path("bad.ztp")), text);
    }
}

INSTANTIATE_TEST_SUITE_P(BadInput, StructureInput, ::testing::ValuesIn(kStructureCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BadInputTest, MissingStructureFileIsNamed) {
    WriteBytes(Path("scenario.vbs"), "");
    const std::vector<std::string> commands[] = {
        {"run", Path("scenario.vbs"), "--model", Path("missing.ztp")},
        {"record", "--model", Path("missing.ztp"), "-o", Path("out.vbs")},
        {"html", Path("missing.ztp"), "-o", Path("out.htm")},
    };
    for (const std::vector<std::string>& arguments : commands) {
        const ProcessOutcome outcome = RunHost(arguments);
        EXPECT_EQ(outcome.exit_code, 1u) << Describe(arguments, outcome);
        EXPECT_NE(outcome.output.find("cannot open the structure file '" + Path("missing.ztp")),
                  std::string::npos)
            << Describe(arguments, outcome);
        EXPECT_EQ(FilesIn(folder_), std::set<std::string>{"scenario.vbs"});
    }
}

} // namespace
