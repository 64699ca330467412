// kvhost.exe as scripts use it: a structure recorded by "record" and replayed by "run" on a
// model holding only the same groups gives the structure again; "html" writes the page; an
// export's error is printed with exit code 1; a malformed command line gives exit code 2.
#include "model_description.h"
#include "structure_files.h"
#include "support/process.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using kvtest::ProcessOutcome;
using kvtest::RunHost;
using Microsoft::WRL::ComPtr;

namespace {

// Owns a BSTR made from a literal, for one call.
struct Text {
    BSTR value;
    explicit Text(const wchar_t* text) : value(SysAllocString(text)) {}
    ~Text() { SysFreeString(value); }
    operator BSTR() const { return value; }
};

struct Groups {
    LONG designers = 0, workers = 0;
};

Groups AddGroups(IZModel* model) {
    ComPtr<IZModelAdmin> admin;
    Check(model->QueryInterface(IID_PPV_ARGS(&admin)), "the administration interface");
    Groups groups;
    Check(admin->zrAddGroup(Text(L"designers"), Text(L"Designers"), &groups.designers),
          "adding a group");
    Check(admin->zrAddGroup(Text(L"workers"), Text(L"Shop floor"), &groups.workers),
          "adding a group");
    return groups;
}

template <class Object> void GiveRights(IZModel* model, LONG group, Object* object, LONG rights) {
    ComPtr<IZLocalSecurity> security;
    Check(model->zrGetLocalSecurity(&security), "reading the security");
    GUID key;
    Check(object->get_zrGUID(&key), "reading an identifier");
    Check(security->zrSetRights(group, &key, rights), "giving rights");
}

// Derived classes come first in the structure's order, so the recording must reorder them; a
// link goes to a class that comes later. Bases are set before own attributes are added: a class
// fragment recreates own attributes after the inherited ones.
void BuildStructure(IZModel* model) {
    ComPtr<IZClassVector> vector;
    Check(model->zrGetClassVector(&vector), "reading the class vector");
    ComPtr<IZClass> part, assembly, item, operation;
    Check(vector->zrAdd(Text(L"Part"), &part), "adding a class");
    Check(vector->zrAdd(Text(L"Assembly"), &assembly), "adding a class");
    Check(vector->zrAdd(Text(L"Item"), &item), "adding a class");
    Check(vector->zrAdd(Text(L"Operation"), &operation), "adding a class");
    ComPtr<IZClassValue> code, mass, material, duration;
    Check(item->zrAddClassValue(Text(L"Code"), &code), "adding an attribute");
    Check(item->zrAddClassValue(Text(L"Mass"), &mass), "adding an attribute");
    Check(part->put_zrBaseClass(item.Get()), "setting a base");
    Check(assembly->put_zrBaseClass(part.Get()), "setting a base");
    Check(part->zrAddClassValue(Text(L"Material"), &material), "adding an attribute");
    Check(operation->zrAddClassValue(Text(L"Duration"), &duration), "adding an attribute");
    Check(assembly->zrAddChildClass(Text(L"Part")), "linking");
    Check(part->zrAddChildClass(Text(L"Operation")), "linking");

    ComPtr<IZFilterVector> filters;
    Check(vector->get_zrFilterVector(&filters), "reading the filters");
    Check(filters->zrCreateFilterEx(Text(L"Products"), Text(L"Parts and assemblies")), "filter");
    Check(filters->zrAddConstraint(Text(L"Products"), Text(L"Part")), "constraint");
    Check(filters->zrAddConstraint(Text(L"Products"), Text(L"Assembly")), "constraint");
    Check(vector->put_zrPatchFunction(
              Text(L"Common"), Text(L"function Twice(x)\r\n  Twice = 2 * x\r\nend function")),
          "writing a module");

    Groups groups = AddGroups(model);
    GiveRights(model, groups.designers, item.Get(), 15);
    GiveRights(model, groups.designers, part.Get(), 7);
    GiveRights(model, groups.designers, mass.Get(), 3);
    GiveRights(model, groups.workers, operation.Get(), 1);
    GiveRights(model, groups.workers, duration.Get(), 0);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "kvhost_test_" + std::to_string(GetCurrentProcessId()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        for (const char* name :
             {"original.ztp", "groups.ztp", "result.ztp", "scenario.vbs", "page.htm"})
            DeleteFileA(Path(name).c_str());
        RemoveDirectoryA(folder_.c_str());
        CoUninitialize();
    }
    std::string Path(const char* name) const { return folder_ + name; }

    void StoreOriginal() {
        ComPtr<IZModel> original = NewModel();
        BuildStructure(original.Get());
        SaveModel(original.Get(), Path("original.ztp"));
    }

    std::string folder_;
};

TEST_F(HostTest, RecordedStructureReplaysOnModelWithOnlyItsGroups) {
    StoreOriginal();
    ComPtr<IZModel> groups_only = NewModel();
    AddGroups(groups_only.Get());
    SaveModel(groups_only.Get(), Path("groups.ztp"));

    ProcessOutcome record =
        RunHost({"record", "--model", Path("original.ztp"), "-o", Path("scenario.vbs")});
    ASSERT_EQ(record.exit_code, 0u) << record.output;
    ASSERT_TRUE(FileExists(Path("scenario.vbs")));

    ProcessOutcome run = RunHost(
        {"run", Path("scenario.vbs"), "--model", Path("groups.ztp"), "--save", Path("result.ztp")});
    ASSERT_EQ(run.exit_code, 0u) << run.output;
    EXPECT_NE(run.output.find("model changed"), std::string::npos) << run.output;

    std::string expected = DescribeModel(LoadModel(Path("original.ztp")).Get());
    EXPECT_NE(expected.find("class Assembly : Part"), std::string::npos) << expected;
    EXPECT_NE(expected.find("rights workers Operation.Duration = 0"), std::string::npos)
        << expected;
    EXPECT_EQ(DescribeModel(LoadModel(Path("result.ztp")).Get()), expected);
}

// replay builds the groups-only model itself; compare tells equal (0), different (1, with the
// difference) and unreadable (2).
TEST_F(HostTest, ReplayOnTheGroupsAloneGivesAStructureThatComparesEqual) {
    StoreOriginal();
    ASSERT_EQ(
        RunHost({"record", "--model", Path("original.ztp"), "-o", Path("scenario.vbs")}).exit_code,
        0u);
    ProcessOutcome replay = RunHost({"replay", Path("scenario.vbs"), "--groups-from",
                                     Path("original.ztp"), "--save", Path("result.ztp")});
    ASSERT_EQ(replay.exit_code, 0u) << replay.output;
    EXPECT_NE(replay.output.find("model changed"), std::string::npos) << replay.output;

    ProcessOutcome same = RunHost({"compare", Path("original.ztp"), Path("result.ztp")});
    EXPECT_EQ(same.exit_code, 0u) << same.output;
    EXPECT_NE(same.output.find("equal"), std::string::npos) << same.output;

    std::ofstream(Path("scenario.vbs"), std::ios::binary)
        << "mdl.zrGetClassVector.zrLocate(\"Part\").zrScreenName = \"changed\"\r\n";
    ASSERT_EQ(RunHost({"run", Path("scenario.vbs"), "--model", Path("result.ztp")}).exit_code, 0u);
    ProcessOutcome different = RunHost({"compare", Path("original.ztp"), Path("result.ztp")});
    EXPECT_EQ(different.exit_code, 1u) << different.output;
    EXPECT_NE(different.output.find("class \"Part\": screen name"), std::string::npos)
        << different.output;

    ProcessOutcome unreadable = RunHost({"compare", Path("original.ztp"), Path("missing.ztp")});
    EXPECT_EQ(unreadable.exit_code, 2u) << unreadable.output;
    EXPECT_NE(unreadable.output.find("missing.ztp"), std::string::npos) << unreadable.output;
}

TEST_F(HostTest, RunWithoutSaveStoresBackToTheModelFile) {
    StoreOriginal();
    std::ofstream(Path("scenario.vbs"), std::ios::binary)
        << "mdl.zrGetClassVector.zrAdd(\"Extra\")\r\n";
    ProcessOutcome run = RunHost({"run", Path("scenario.vbs"), "--model", Path("original.ztp")});
    ASSERT_EQ(run.exit_code, 0u) << run.output;
    EXPECT_NE(DescribeModel(LoadModel(Path("original.ztp")).Get()).find("class Extra\n"),
              std::string::npos);
}

TEST_F(HostTest, HtmlWritesThePage) {
    StoreOriginal();
    ProcessOutcome html = RunHost({"html", Path("original.ztp"), "-o", Path("page.htm")});
    ASSERT_EQ(html.exit_code, 0u) << html.output;
    EXPECT_NE(ReadFile(Path("page.htm")).find("Assembly"), std::string::npos);
}

// Failures of the operation: exit code 1 and the reason printed, nothing stored or written.
TEST_F(HostTest, FailedOperationsExitWithOneAndSayWhy) {
    StoreOriginal();
    std::ofstream(Path("scenario.vbs"), std::ios::binary) << "mdl.NoSuchMember(\r\n";
    struct Case {
        std::vector<std::string> arguments;
        const char* expected_text;
    } cases[] = {
        {{"run", Path("scenario.vbs"), "--model", Path("missing.ztp")}, "missing.ztp"},
        {{"run", Path("scenario.vbs"), "--model", Path("original.ztp"), "--save",
          Path("result.ztp")},
         "scenario"},
        {{"record", "--model", Path("original.ztp"), "-o", Path("no folder\\scenario.vbs")},
         "scenario.vbs"},
        {{"html", Path("original.ztp"), "-o", Path("no folder\\page.htm")}, "SaveAsHTMLFile"},
    };
    for (const Case& c : cases) {
        ProcessOutcome outcome = RunHost(c.arguments);
        EXPECT_EQ(outcome.exit_code, 1u) << c.arguments[0] << ": " << outcome.output;
        EXPECT_NE(outcome.output.find(c.expected_text), std::string::npos) << outcome.output;
    }
    EXPECT_FALSE(FileExists(Path("result.ztp")));
}

// ZKERNEL_FAIL_CALL sets the kernel stand-in's failure switch for a whole kvhost process: its
// first kernel call fails, and kvhost says so and writes nothing.
TEST_F(HostTest, KernelFailureSwitchReachesAWholeProcess) {
    StoreOriginal();
    ASSERT_TRUE(SetEnvironmentVariableW(L"ZKERNEL_FAIL_CALL", L"1"));
    const ProcessOutcome outcome =
        RunHost({"record", "--model", Path("original.ztp"), "-o", Path("scenario.vbs")});
    SetEnvironmentVariableW(L"ZKERNEL_FAIL_CALL", nullptr);
    EXPECT_EQ(outcome.exit_code, 1u) << outcome.output;
    EXPECT_NE(outcome.output.find("the failure switch of the kernel stand-in"), std::string::npos)
        << outcome.output;
    EXPECT_FALSE(FileExists(Path("scenario.vbs")));
}

TEST(HostUsage, MalformedCommandLinesExitWithTwo) {
    const std::vector<std::string> cases[] = {
        {},
        {"frobnicate"},
        {"run", "x.vbs"},
        {"run", "--model", "m.ztp"},
        {"run", "x.vbs", "--model"},
        {"run", "x.vbs", "--model", "m.ztp", "--model", "n.ztp"},
        {"run", "x.vbs", "y.vbs", "--model", "m.ztp"},
        {"record", "--model", "m.ztp"},
        {"record", "-o", "x.vbs"},
        {"record", "--model", "m.ztp", "-o", "x.vbs", "--save", "y.ztp"},
        {"html", "-o", "page.htm"},
        {"html", "m.ztp"},
        {"import", "--distr", "d.ztp"},
        {"import", "--user", "u.ztp"},
        {"import", "--distr", "d.ztp", "--user"},
        {"import", "--distr", "d.ztp", "--user", "u.ztp", "--distr", "e.ztp"},
        {"import", "--distr", "d.ztp", "--user", "u.ztp", "extra"},
        {"replay", "x.vbs", "--groups-from", "m.ztp"},
        {"replay", "x.vbs", "--save", "o.ztp"},
        {"replay", "--groups-from", "m.ztp", "--save", "o.ztp"},
        {"replay", "x.vbs", "--model", "m.ztp", "--save", "o.ztp"},
        {"compare", "a.ztp"},
        {"compare", "a.ztp", "b.ztp", "c.ztp"},
        {"compare", "--model", "a.ztp"},
    };
    for (const std::vector<std::string>& arguments : cases) {
        ProcessOutcome outcome = RunHost(arguments);
        std::string line;
        for (const std::string& argument : arguments)
            line += argument + " ";
        EXPECT_EQ(outcome.exit_code, 2u) << line << "\n" << outcome.output;
        EXPECT_NE(outcome.output.find("usage: kvhost"), std::string::npos) << line;
    }
}

TEST(HostUsage, HelpExplainsAndSucceeds) {
    ProcessOutcome outcome = RunHost({"--help"});
    EXPECT_EQ(outcome.exit_code, 0u);
    for (const char* text :
         {"run SCENARIO --model FILE", "record --model FILE -o SCENARIO",
          "replay SCENARIO --groups-from FILE --save OUT", "compare EXPECTED ACTUAL",
          "html MODEL -o PAGE", "import --distr FILE --user NAME [--mark]", "Exit codes"})
        EXPECT_NE(outcome.output.find(text), std::string::npos) << outcome.output;
}

} // namespace
