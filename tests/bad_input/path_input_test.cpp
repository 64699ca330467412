// Paths that scripts may hand to kvhost: past 255 characters, given through environment
// references that expand past 255 characters, and targets that cannot be written (held open
// without sharing, in a missing folder, with an invalid name). Long paths work at full length;
// a target that cannot be written gives a message, keeps what it held and leaves no partial file.
#include "bad_input_fixture.h"

namespace {

// Every command with every file in `folder`: record, run (the recorded scenario) and html.
void RecordRunAndExport(const std::string& folder, const std::string& scenario) {
    const std::vector<std::string> commands[] = {
        {"record", "--model", folder + "model.ztp", "-o", scenario},
        {"run", scenario, "--model", folder + "model.ztp", "--save", folder + "result.ztp"},
        {"html", folder + "model.ztp", "-o", folder + "page.htm"},
    };
    for (const std::vector<std::string>& arguments : commands) {
        const ProcessOutcome outcome = RunHost(arguments);
        EXPECT_EQ(outcome.exit_code, 0u) << Describe(arguments, outcome);
    }
}

class LongPaths : public BadInputTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(LongPaths, WorkAtFullLength) {
    const std::string folder = LongFolder(GetParam());
    ASSERT_GE((folder + "model.ztp").size(), GetParam());
    StoreStructure(folder + "model.ztp");
    RecordRunAndExport(folder, folder + "scenario.vbs");
    EXPECT_EQ(FilesIn(folder),
              (std::set<std::string>{"model.ztp", "page.htm", "result.ztp", "scenario.vbs"}));
    EXPECT_NE(ReadBytes(folder + "page.htm").find("Part"), std::string::npos);
    EXPECT_EQ(StructureWithoutName(folder + "result.ztp"),
              StructureWithoutName(folder + "model.ztp"));
}

INSTANTIATE_TEST_SUITE_P(BadInput, LongPaths, ::testing::Values(300, 1000));

// Scoped environment variable of the test process, which kvhost inherits.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const std::string& value) : name_(name) {
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~EnvironmentVariable() { SetEnvironmentVariableA(name_, nullptr); }

private:
    const char* name_;
};

TEST_F(BadInputTest, EnvironmentReferencesExpandPast255Characters) {
    const std::string folder = LongFolder(300);
    StoreStructure(folder + "model.ztp");
    EnvironmentVariable variable("KV_BAD_INPUT_FOLDER", folder.substr(0, folder.size() - 1));
    RecordRunAndExport(folder, "%KV_BAD_INPUT_FOLDER%\\scenario.vbs");
    EXPECT_TRUE(Exists(folder + "scenario.vbs"));
    EXPECT_EQ(StructureWithoutName(folder + "result.ztp"),
              StructureWithoutName(folder + "model.ztp"));
}

TEST_F(BadInputTest, UnknownEnvironmentReferenceIsKeptAndTheFolderNamedMissing) {
    StoreStructure(Path("model.ztp"));
    const std::vector<std::string> arguments = {"record", "--model", Path("model.ztp"), "-o",
                                                Path("%KV_NO_SUCH_VARIABLE%\\scenario.vbs")};
    const ProcessOutcome outcome = RunHost(arguments);
    EXPECT_EQ(outcome.exit_code, 1u) << Describe(arguments, outcome);
    EXPECT_NE(outcome.output.find("cannot write " + Path("%KV_NO_SUCH_VARIABLE%")),
              std::string::npos)
        << Describe(arguments, outcome);
    EXPECT_EQ(FilesIn(folder_), std::set<std::string>{"model.ztp"});
}

// What each command writes, and how its target is named on the command line.
struct Target {
    const char* command;
    std::vector<std::string> (*arguments)(const std::string& folder, const std::string& target);
};

const Target kTargets[] = {
    {"record",
     [](const std::string& folder, const std::string& target) {
         return std::vector<std::string>{"record", "--model", folder + "model.ztp", "-o", target};
     }},
    {"html",
     [](const std::string& folder, const std::string& target) {
         return std::vector<std::string>{"html", folder + "model.ztp", "-o", target};
     }},
    {"run --save",
     [](const std::string& folder, const std::string& target) {
         return std::vector<std::string>{
             "run", folder + "scenario.vbs", "--model", folder + "model.ztp", "--save", target};
     }},
};

TEST_F(BadInputTest, TargetHeldOpenKeepsItsContentAndLeavesNoPartialFile) {
    StoreStructure(Path("model.ztp"));
    WriteBytes(Path("scenario.vbs"), "mdl.zrGetClassVector.zrAdd(\"X\")\r\n");
    WriteBytes(Path("held"), "keep me");
    for (const Target& target : kTargets) {
        const std::vector<std::string> arguments = target.arguments(folder_, Path("held"));
        ProcessOutcome outcome;
        {
            HeldFile held(Path("held"));
            outcome = RunHost(arguments);
        }
        EXPECT_EQ(outcome.exit_code, 1u) << Describe(arguments, outcome);
        EXPECT_NE(outcome.output.find(Path("held")), std::string::npos)
            << Describe(arguments, outcome);
        EXPECT_EQ(ReadBytes(Path("held")), "keep me") << target.command;
        EXPECT_EQ(FilesIn(folder_), (std::set<std::string>{"held", "model.ztp", "scenario.vbs"}))
            << Describe(arguments, outcome);
    }
}

// A missing folder, an invalid name, a folder in the file's place.
TEST_F(BadInputTest, TargetThatCannotBeMadeIsRefusedWithAMessage) {
    StoreStructure(Path("model.ztp"));
    WriteBytes(Path("scenario.vbs"), "mdl.zrGetClassVector.zrAdd(\"X\")\r\n");
    const std::string model_before = ReadBytes(Path("model.ztp"));
    const std::string folder = MakeFolder(folder_, "a folder");
    const std::string unwritable[] = {Path("no such folder\\target"), Path("bad|name"),
                                      Path("bad<name>?"), folder.substr(0, folder.size() - 1)};
    for (const Target& target : kTargets) {
        for (const std::string& path : unwritable) {
            const std::vector<std::string> arguments = target.arguments(folder_, path);
            const ProcessOutcome outcome = RunHost(arguments);
            EXPECT_EQ(outcome.exit_code, 1u) << Describe(arguments, outcome);
            EXPECT_NE(outcome.output.find(path), std::string::npos) << Describe(arguments, outcome);
            EXPECT_EQ(FilesIn(folder_), (std::set<std::string>{"model.ztp", "scenario.vbs"}))
                << Describe(arguments, outcome);
            EXPECT_EQ(ReadBytes(Path("model.ztp")), model_before);
        }
    }
}

} // namespace
