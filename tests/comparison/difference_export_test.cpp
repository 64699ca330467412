// The difference for a named structure file, through korvalith.dll's exports as a host calls
// them: scriptStart on the current structure, scriptDifferenceFile, scriptEnd saving the file.
// The expected scenarios are written by hand for a small pair of structures that exercises every
// section (fixtures/current.ztp, fixtures/target.ztp).
#include "recording/golden.h"
#include "recording/session_fixture.h"
#include "difference_files.h"

#include <oleauto.h>

#include <gtest/gtest.h>

namespace {

constexpr int kTrue = 1;
constexpr int kFalse = 0;

class DifferenceExportTest : public SessionTest {
protected:
    void Load(const char* fixture) { LoadStructure(model_.Get(), FixturePath(fixture)); }

    // Ends the recording into a file (no model: never the apply question) and reads it.
    std::string EndAndRead() {
        const std::string path = OutputPath("difference.vbs");
        EXPECT_EQ(library_->End(owner_, path.c_str(), nullptr), kTrue);
        return ReadOutput(path);
    }

    // A copy of a fixture at a path of the given length at least.
    std::string CopyToLongPath(const char* fixture, std::size_t length) {
        std::wstring relative;
        while (Narrow(folder_ + relative).size() < length)
            relative += L"difference folder with a long name\\";
        const std::string folder = MakeFolder(relative.substr(0, relative.size() - 1));
        const std::string copy = folder + "\\" + fixture;
        EXPECT_TRUE(
            CopyFileW(Widen(FixturePath(fixture)).c_str(), Extended(Widen(copy)).c_str(), FALSE));
        return copy;
    }
};

TEST_F(DifferenceExportTest, WritesEveryDifferenceInElevenSections) {
    Load("current.ztp");
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(library_->DifferenceFile(model_.Get(), FixturePath("target.ztp").c_str()), kTrue)
        << Narrow(TakeErrorDescription());
    EXPECT_EQ(EndAndRead(), ScenarioWith(ExpectedText("difference")));
}

TEST_F(DifferenceExportTest, SameStructureWritesTheFramesAndTheRightsOnly) {
    Load("target.ztp");
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(library_->DifferenceFile(model_.Get(), FixturePath("target.ztp").c_str()), kTrue);
    EXPECT_EQ(EndAndRead(), ScenarioWith(ExpectedText("same_structure")));
}

TEST_F(DifferenceExportTest, StructureFileBeyondTheClassicPathLimitIsRead) {
    const std::string target = CopyToLongPath("target.ztp", 300);
    ASSERT_GT(target.size(), 260u);
    Load("current.ztp");
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(library_->DifferenceFile(model_.Get(), target.c_str()), kTrue)
        << Narrow(TakeErrorDescription());
    EXPECT_EQ(EndAndRead(), ScenarioWith(ExpectedText("difference")));
}

TEST_F(DifferenceExportTest, FileThatCannotBeLoadedWritesNothingAndSaysWhy) {
    const std::string missing = OutputPath("missing.ztp");
    const std::string malformed = FixturePath("malformed.ztp");
    struct Case {
        const char* what;
        const char* file;
        const char* named; // a text the error information must hold
    };
    const Case cases[] = {
        {"missing file", missing.c_str(), "missing.ztp"},
        {"malformed file", malformed.c_str(), "line"},
        {"empty name", "", ""},
        {"null name", nullptr, ""},
    };
    Load("current.ztp");
    for (const Case& c : cases) {
        ASSERT_EQ(library_->Start(model_.Get()), kTrue);
        EXPECT_EQ(library_->DifferenceFile(model_.Get(), c.file), kFalse) << c.what;
        const std::string error = Narrow(TakeErrorDescription());
        EXPECT_NE(error.find(c.named), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(EndAndRead(), Golden("empty")) << c.what;
    }
}

TEST_F(DifferenceExportTest, WithoutRecordingOrModelNothingHappens) {
    Load("current.ztp");
    EXPECT_EQ(library_->DifferenceFile(model_.Get(), FixturePath("target.ztp").c_str()), kFalse);
    EXPECT_EQ(library_->Difference(model_.Get(), owner_), kFalse); // and no dialog
    EXPECT_EQ(library_->End(owner_, OutputPath("none.vbs").c_str(), nullptr), kFalse);

    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(library_->DifferenceFile(nullptr, FixturePath("target.ztp").c_str()), kFalse);
    EXPECT_EQ(library_->Difference(nullptr, owner_), kFalse); // and no dialog
    EXPECT_EQ(EndAndRead(), Golden("empty"));
}

} // namespace
