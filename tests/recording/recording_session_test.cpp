// The recording exports as a host calls them, against the kernel stand-in: every generator's
// fragment in the saved file, compared byte for byte with hand-written expected files, and the
// session's edges (no recording, no model, a second start, file names).
#include "support/fake_kernel.h"
#include "golden.h"
#include "session_fixture.h"
#include "support/temporary_folder_override.h"

#include <oleauto.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kTrue = 1;
constexpr int kFalse = 0;

class RecordingTest : public SessionTest {
protected:
    // Ends the recording into a file of the private folder and gives its bytes.
    std::string EndAndRead(const std::string& name = "scenario.vbs") {
        const std::string path = OutputPath(name);
        EXPECT_EQ(library_->End(owner_, path.c_str(), model_.Get()), kTrue);
        return ReadOutput(path);
    }

    // Деталь (Масса, Код), Узел, Сборка derived from Деталь; filter Изделия on Деталь, Узел.
    void MakeStructure() {
        ComPtr<IZClass> part = AddClass(L"Деталь");
        AddAttribute(part.Get(), L"Масса");
        AddAttribute(part.Get(), L"Код");
        AddClass(L"Узел");
        ComPtr<IZClass> assembly = AddClass(L"Сборка");
        ASSERT_EQ(assembly->put_zrBaseClass(part.Get()), S_OK);

        BSTR filter = SysAllocString(L"Изделия");
        BSTR caption = SysAllocString(L"Все изделия");
        BSTR part_name = SysAllocString(L"Деталь");
        BSTR unit_name = SysAllocString(L"Узел");
        EXPECT_EQ(Filters()->zrCreateFilterEx(filter, caption), S_OK);
        EXPECT_EQ(Filters()->zrAddConstraint(filter, part_name), S_OK);
        EXPECT_EQ(Filters()->zrAddConstraint(filter, unit_name), S_OK);
        for (BSTR text : {filter, caption, part_name, unit_name})
            SysFreeString(text);
    }
};

TEST_F(RecordingTest, EmptyRecordingIsHeaderAndFooter) {
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(EndAndRead(), Golden("empty"));
}

TEST_F(RecordingTest, FilterFragments) {
    MakeStructure();
    const std::string filter = Narrow(L"Изделия");
    ComPtr<IZFilterVector> filters = Filters();
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);

    EXPECT_EQ(library_->Filter(filters.Get(), filter.c_str(), 0, 1), kTrue); // new
    EXPECT_EQ(library_->Filter(filters.Get(), filter.c_str(), 0, 0), kTrue); // changed
    EXPECT_EQ(library_->Filter(filters.Get(), filter.c_str(), 1, 0), kTrue); // deleted
    // A name the vector does not list (names match case-sensitively): no creation line.
    EXPECT_EQ(library_->Filter(filters.Get(), Narrow(L"изделия").c_str(), 0, 0), kTrue);
    // Nothing written: no name, no vector.
    EXPECT_EQ(library_->Filter(filters.Get(), "", 0, 1), kFalse);
    EXPECT_EQ(library_->Filter(filters.Get(), nullptr, 0, 1), kFalse);
    EXPECT_EQ(library_->Filter(nullptr, filter.c_str(), 0, 1), kFalse);

    EXPECT_EQ(EndAndRead(), ScenarioWith(Golden("filters")));
}

// Each filter's creation line carries its own caption, whatever order the filters are recorded
// in and after a filter before them is removed.
TEST_F(RecordingTest, FilterCaptionsInAnyOrder) {
    ComPtr<IZFilterVector> filters = Filters();
    for (const wchar_t* name : {L"F1", L"F2", L"F3"}) {
        BSTR filter = SysAllocString(name);
        BSTR caption = SysAllocString((std::wstring(L"caption of ") + name).c_str());
        EXPECT_EQ(filters->zrCreateFilterEx(filter, caption), S_OK);
        SysFreeString(filter);
        SysFreeString(caption);
    }
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    for (const char* name : {"F3", "F1", "F2", "F2", "F3"})
        EXPECT_EQ(library_->Filter(filters.Get(), name, 0, 1), kTrue);
    BSTR removed = SysAllocString(L"F1");
    EXPECT_EQ(filters->zrRemoveFilter(removed), S_OK);
    SysFreeString(removed);
    for (const char* name : {"F3", "F1", "F2"})
        EXPECT_EQ(library_->Filter(filters.Get(), name, 0, 1), kTrue);

    std::string created;
    std::istringstream lines(EndAndRead());
    for (std::string line; std::getline(lines, line);)
        if (line.find("zrCreateFilterEx") != std::string::npos)
            created += line + "\n";
    std::string expected;
    for (const char* name : {"F3", "F1", "F2", "F2", "F3", "F3", "F2"})
        expected +=
            std::string("  flt.zrCreateFilterEx \"") + name + "\",\"caption of " + name + "\"\r\n";
    EXPECT_EQ(created, expected);
}

TEST_F(RecordingTest, ConstraintFragments) {
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    const std::string filter = Narrow(L"Изделия");
    EXPECT_EQ(library_->Constraint(filter.c_str(), Narrow(L"Деталь").c_str(), 0), kTrue);
    EXPECT_EQ(library_->Constraint(filter.c_str(), Narrow(L"Узел").c_str(), 1), kTrue);
    EXPECT_EQ(EndAndRead(), ScenarioWith(Golden("constraints")));
}

TEST_F(RecordingTest, SecurityFragmentGivesEveryClassAndAttributeOneRightsLine) {
    MakeStructure();
    const LONG designers = AddGroup(L"grp1", L"Конструкторы");
    const LONG others = AddGroup(L"grp2", L"Технологи");
    ComPtr<IZClass> part = FindClass(L"Деталь");
    ComPtr<IZClassValue> mass;
    BSTR mass_name = SysAllocString(L"Масса");
    ASSERT_EQ(part->zrnClassValueItem(mass_name, &mass), S_OK);
    SysFreeString(mass_name);
    SetRights(designers, part.Get(), 7);
    SetRights(designers, mass.Get(), 3);
    // Rights 0 are rights given, not rights missing.
    SetRights(designers, FindClass(L"Сборка").Get(), 0);
    // Another group's rights do not show.
    SetRights(others, FindClass(L"Узел").Get(), 5);

    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(library_->Security(model_.Get(), "grp1"), kTrue);
    EXPECT_EQ(library_->Security(model_.Get(), ""), kFalse);
    EXPECT_EQ(library_->Security(nullptr, "grp1"), kFalse);
    EXPECT_EQ(EndAndRead(), ScenarioWith(Golden("security")));
}

TEST_F(RecordingTest, ModuleFragments) {
    ComPtr<IZClassVector> classes = Classes();
    const struct {
        const wchar_t* name;
        const wchar_t* text;
    } modules[] = {{L"Общий", L"Sub A\r\n  x = \"1\"\r\nEnd Sub"}, {L"Начало", L"\nx"}};
    for (const auto& module : modules) {
        BSTR name = SysAllocString(module.name);
        BSTR text = SysAllocString(module.text);
        EXPECT_EQ(classes->put_zrPatchFunction(name, text), S_OK);
        SysFreeString(name);
        SysFreeString(text);
    }

    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(library_->Module(classes.Get(), Narrow(L" \tОбщий  ").c_str(), 0), kTrue);
    EXPECT_EQ(library_->Module(classes.Get(), Narrow(L"Начало").c_str(), 0), kTrue);
    EXPECT_EQ(library_->Module(classes.Get(), Narrow(L"Старый").c_str(), 1), kTrue);
    EXPECT_EQ(library_->Module(classes.Get(), "   ", 0), kFalse);
    EXPECT_EQ(library_->Module(nullptr, Narrow(L"Общий").c_str(), 0), kFalse);
    EXPECT_EQ(EndAndRead(), ScenarioWith(Golden("modules")));
}

TEST_F(RecordingTest, ModuleTextThatCannotBeReadEndsWithTheProgressLineOnly) {
    ComPtr<FakeClassVector> unreadable = FakeClassVector::Create();
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(library_->Module(unreadable.Get(), "X", 0), kFalse);
    EXPECT_EQ(unreadable->moduleReads, 1);
    // Removal never reads the text.
    EXPECT_EQ(library_->Module(unreadable.Get(), "X", 1), kTrue);
    EXPECT_EQ(unreadable->moduleReads, 1);
    EXPECT_EQ(EndAndRead(), ScenarioWith(Golden("module_unreadable")));
}

TEST_F(RecordingTest, ClassLinkFragments) {
    const std::string part = Narrow(L"Деталь");
    const std::string unit = Narrow(L"Узел");
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(library_->ClassLink(part.c_str(), unit.c_str(), 0), kTrue);
    EXPECT_EQ(library_->ClassLink(part.c_str(), unit.c_str(), 1), kTrue);
    // Only the low byte of a boolean counts: 256 is false.
    EXPECT_EQ(library_->ClassLink(unit.c_str(), part.c_str(), 256), kTrue);
    EXPECT_EQ(EndAndRead(), ScenarioWith(Golden("links")));
}

TEST_F(RecordingTest, WithoutRecordingNothingIsWritten) {
    ComPtr<IZClassVector> classes = Classes();
    ComPtr<IZFilterVector> filters = Filters();
    EXPECT_EQ(library_->Filter(filters.Get(), "F", 0, 1), kFalse);
    EXPECT_EQ(library_->Constraint("F", "C", 0), kFalse);
    EXPECT_EQ(library_->Security(model_.Get(), "grp1"), kFalse);
    EXPECT_EQ(library_->Module(classes.Get(), "M", 1), kFalse);
    EXPECT_EQ(library_->ClassLink("A", "B", 0), kFalse);
    const std::string path = OutputPath("never.vbs");
    EXPECT_EQ(library_->End(owner_, path.c_str(), model_.Get()), kFalse);
    EXPECT_FALSE(FileExists(Widen(path)));

    // The next recording starts clean.
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(EndAndRead(), Golden("empty"));
}

TEST_F(RecordingTest, StartThatCannotConnectLeavesNoRecordingAndSaysWhy) {
    ComPtr<FakeModel> failing = FakeModel::Create(E_FAIL, nullptr);
    ComPtr<FakeModel> withoutVector = FakeModel::Create(S_OK, nullptr);
    IZModel* const models[] = {nullptr, failing.Get(), withoutVector.Get()};
    for (IZModel* model : models) {
        // An open recording is released by the new start, whatever becomes of it.
        ASSERT_EQ(library_->Start(model_.Get()), kTrue);
        SetErrorInfo(0, nullptr);
        EXPECT_EQ(library_->Start(model), kFalse);
        EXPECT_NE(TakeErrorDescription(), L"");
        EXPECT_EQ(library_->ClassLink("A", "B", 0), kFalse);
        EXPECT_EQ(library_->End(owner_, OutputPath("none.vbs").c_str(), model_.Get()), kFalse);
    }
    EXPECT_FALSE(FileExists(Widen(OutputPath("none.vbs"))));
}

TEST_F(RecordingTest, SecondStartReleasesThePreviousRecording) {
    AddClass(L"Деталь");
    AddClass(L"Узел");
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(library_->ClassLink("dropped", "dropped", 0), kTrue);
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    // Only one receiver listens: the kernel's link is recorded once.
    AddLink(L"Деталь", L"Узел");
    EXPECT_EQ(EndAndRead(), ScenarioWith(Golden("link_added")));
}

TEST_F(RecordingTest, SaveReplacesAnExistingFile) {
    const std::string path = OutputPath("old.vbs");
    {
        HANDLE file =
            CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const std::string longer(8000, 'x');
        DWORD written = 0;
        WriteFile(file, longer.data(), static_cast<DWORD>(longer.size()), &written, nullptr);
        CloseHandle(file);
    }
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(EndAndRead("old.vbs"), Golden("empty"));
}

// File names are used at full length, environment references expanded, however long.
TEST_F(RecordingTest, FileNamesAreExpandedAndUsedAtFullLength) {
    std::wstring deep;
    for (int i = 0; i < 12; ++i)
        deep += L"folder_with_a_rather_long_name_" + std::to_wstring(i) + L"\\";
    deep.pop_back();
    const std::string longFolder = MakeFolder(deep);
    ASSERT_GT(longFolder.size(), 300u);
    ASSERT_TRUE(SetEnvironmentVariableW(L"KV_SESSION_SHORT", folder_.c_str()));
    ASSERT_TRUE(SetEnvironmentVariableW(L"KV_SESSION_LONG", Widen(longFolder).c_str()));

    const struct {
        std::string fileName;
        std::string written;
    } cases[] = {
        {"%KV_SESSION_SHORT%env.vbs", OutputPath("env.vbs")},
        {longFolder + "\\direct.vbs", longFolder + "\\direct.vbs"},
        {"%KV_SESSION_LONG%\\expanded.vbs", longFolder + "\\expanded.vbs"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(library_->Start(model_.Get()), kTrue);
        EXPECT_EQ(library_->End(owner_, c.fileName.c_str(), model_.Get()), kTrue) << c.fileName;
        EXPECT_EQ(ReadOutput(c.written), Golden("empty")) << c.fileName;
    }
    SetEnvironmentVariableW(L"KV_SESSION_SHORT", nullptr);
    SetEnvironmentVariableW(L"KV_SESSION_LONG", nullptr);
}

// Recordings whose items pass the threshold set for the test and go to a spill file, in a
// temporary folder of the test's own.
class SpillTest : public RecordingTest {
protected:
    void SetUp() override {
        RecordingTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        temporary_ = folder_ + L"temp\\";
        ASSERT_TRUE(CreateDirectoryW(temporary_.c_str(), nullptr));
        temporaryOverride_.emplace(temporary_);
        MakeStructure();
        const LONG designers = AddGroup(L"grp1", L"Конструкторы");
        SetRights(designers, FindClass(L"Деталь").Get(), 7);
    }
    void TearDown() override {
        RecordingTest::TearDown();
        temporaryOverride_.reset();
    }

    // Records the structure through every export that writes a fragment; whether a spill file
    // was there before the end.
    std::string RecordStructure(const std::string& name, bool& spilled) {
        EXPECT_EQ(library_->Start(model_.Get()), kTrue);
        EXPECT_EQ(library_->Filter(Filters().Get(), filter_.c_str(), 0, 1), kTrue);
        EXPECT_EQ(library_->Constraint(filter_.c_str(), Narrow(L"Узел").c_str(), 0), kTrue);
        EXPECT_EQ(library_->Security(model_.Get(), "grp1"), kTrue);
        for (const wchar_t* cls : {L"Деталь", L"Узел", L"Сборка"})
            EXPECT_EQ(library_->Class(FindClass(cls).Get(), "", 1, 1, 1, 0), kTrue);
        EXPECT_EQ(library_->ClassLink(Narrow(L"Деталь").c_str(), Narrow(L"Узел").c_str(), 0),
                  kTrue);
        spilled = !SpillFiles(temporary_).empty();
        return EndAndRead(name);
    }

    // A threshold that the header alone does not pass.
    static std::string HeaderThreshold() { return std::to_string(HeaderPart().size()); }

    const std::string filter_ = Narrow(L"Изделия");
    std::wstring temporary_;
    std::optional<TemporaryFolderOverride> temporaryOverride_;
};

TEST_F(SpillTest, SpilledRecordingIsByteIdenticalToOneKeptInMemory) {
    bool spilled = true;
    const std::string inMemory = RecordStructure("memory.vbs", spilled);
    EXPECT_FALSE(spilled);
    ASSERT_GT(inMemory.size(), 2000u);
    for (const char* threshold : {"0", "1", "700"}) {
        SpillThresholdSetting setting(threshold);
        EXPECT_EQ(RecordStructure(std::string("spilled") + threshold + ".vbs", spilled), inMemory)
            << "threshold " << threshold;
        EXPECT_TRUE(spilled) << "threshold " << threshold;
        // The spill file became the scenario.
        EXPECT_EQ(SpillFiles(temporary_), std::vector<std::wstring>{}) << "threshold " << threshold;
    }
}

TEST_F(SpillTest, SecondStartAndUnloadDeleteTheSpillFile) {
    const SpillThresholdSetting setting(HeaderThreshold().c_str());
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(library_->Filter(Filters().Get(), filter_.c_str(), 0, 1), kTrue);
    EXPECT_EQ(SpillFiles(temporary_).size(), 1u);
    // The new recording's header is kept in memory: no spill file until it passes the threshold.
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(SpillFiles(temporary_), std::vector<std::wstring>{});

    EXPECT_EQ(library_->Filter(Filters().Get(), filter_.c_str(), 0, 1), kTrue);
    EXPECT_EQ(SpillFiles(temporary_).size(), 1u);
    library_.reset();
    EXPECT_EQ(SpillFiles(temporary_), std::vector<std::wstring>{});
}

// A spill file that cannot be made fails the export with the reason and takes its fragment back;
// the recording goes on and saves once the temporary folder can be written.
TEST_F(SpillTest, SpillFileThatCannotBeWrittenFailsTheExportAndTheRecordingStillSaves) {
    const SpillThresholdSetting setting(HeaderThreshold().c_str());
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    {
        const TemporaryFolderOverride missing(folder_ + L"missing\\");
        SetErrorInfo(0, nullptr);
        EXPECT_EQ(library_->Filter(Filters().Get(), filter_.c_str(), 0, 1), kFalse);
        const std::wstring reason = TakeErrorDescription();
        EXPECT_NE(reason.find(L"временный файл сценария"), std::wstring::npos) << Narrow(reason);
        EXPECT_EQ(library_->Constraint(filter_.c_str(), Narrow(L"Деталь").c_str(), 0), kFalse);
    }
    EXPECT_EQ(library_->Constraint(filter_.c_str(), Narrow(L"Деталь").c_str(), 0), kTrue);
    EXPECT_EQ(library_->Constraint(filter_.c_str(), Narrow(L"Узел").c_str(), 1), kTrue);
    EXPECT_EQ(SpillFiles(temporary_).size(), 1u);
    EXPECT_EQ(EndAndRead(), ScenarioWith(Golden("constraints")));
}

} // namespace
