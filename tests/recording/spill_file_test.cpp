// The recording's spill file under the fragments, in a temporary folder of the test's own: a
// write that a full disk tears leaves the file at its last whole item, a fragment taken back is
// cut from the file, and a save that fails keeps the file for the next one.
#include "session_fixture.h"
#include "support/host_setting.h"
#include "support/temporary_folder_override.h"

#include "platform/barriers.h"
#include "recording/recording_session_files.h"
#include "recording/recording_state.h"
#include "recording/script_buffer_text.h"
#include "recording/spill_file.h"
#include "recording/whole_fragment.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv::testing {
namespace {

// A spill file on a disk with `room` bytes left: a write past it stores what fits and fails.
class DiskFullSpillFile : public SpillFile {
public:
    explicit DiskFullSpillFile(const std::size_t& room) : room_(room) {}

protected:
    DWORD WriteBytes(HANDLE file, std::string_view bytes) override {
        const std::size_t left = room_ - written_;
        if (bytes.size() <= left) {
            written_ += bytes.size();
            return SpillFile::WriteBytes(file, bytes);
        }
        written_ += left;
        if (const DWORD error = SpillFile::WriteBytes(file, bytes.substr(0, left)))
            return error;
        return ERROR_DISK_FULL;
    }

private:
    const std::size_t& room_;
    std::size_t written_ = 0;
};

// The bytes of the spill file, read beside the recording that holds it open for writing.
std::string SpillBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "(no file)";
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

class SpillFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = kvtest::ProcessTempFolder(L"kv_spill_");
        RemoveTree(folder_);
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        temporaryOverride_.emplace(folder_);
        RecordingActive = true;
        // Every item goes to the file as it is appended.
        ScriptBuffer.emplace(std::make_unique<DiskFullSpillFile>(room_), 0);
    }
    void TearDown() override {
        ReleaseRecording();
        EXPECT_EQ(SpillFiles(folder_), std::vector<std::wstring>{})
            << "released with the recording";
        temporaryOverride_.reset();
        RemoveTree(folder_);
    }

    SpillFile& File() { return dynamic_cast<SpillFile&>(*ScriptBuffer->Store()); }

    // A fragment as a generator writes it: its items, failing before item `failAt` when given.
    void WriteFragment(int number, std::optional<std::size_t> failAt = std::nullopt) {
        std::vector<std::string> fragment;
        for (std::size_t i = 0; i < 6; ++i)
            fragment.push_back("fragment " + std::to_string(number) + " item " + std::to_string(i));
        fragment.emplace_back();
        AsWholeFragment([&] {
            for (std::size_t i = 0; i < fragment.size(); ++i) {
                if (failAt && i == *failAt)
                    throw LibraryError(E_FAIL, L"kernel call failed");
                ScriptBuffer->push_back(fragment[i]);
            }
        });
        expected_.insert(expected_.end(), fragment.begin(), fragment.end());
    }

    std::wstring folder_;
    std::optional<TemporaryFolderOverride> temporaryOverride_;
    std::size_t room_ = std::numeric_limits<std::size_t>::max();
    std::vector<std::string> expected_;
};

TEST_F(SpillFileTest, TornWriteEndsTheFileAtItsLastWholeItemAndTheRecordingStillSaves) {
    for (int number = 0; number < 10; ++number)
        WriteFragment(number);
    const std::wstring spill = File().Path();
    ASSERT_EQ(SpillFiles(folder_).size(), 1u);
    room_ = ScenarioFileText(expected_).size() + 30; // within the fragment's second item

    try {
        WriteFragment(10);
        ADD_FAILURE() << "the full disk was not reported";
    } catch (const LibraryError& error) {
        EXPECT_EQ(error.Code(), HRESULT_FROM_WIN32(ERROR_DISK_FULL));
    }
    EXPECT_EQ(SpillBytes(spill), ScenarioFileText(expected_));
    EXPECT_EQ(ScriptBuffer->size(), expected_.size());

    room_ = std::numeric_limits<std::size_t>::max();
    WriteFragment(11);
    const std::wstring target = folder_ + L"saved.vbs";
    EXPECT_EQ(WriteScenarioFile(target, *ScriptBuffer), 0u);
    EXPECT_EQ(kvtest::FileBytes(target), ScenarioFileText(expected_));
    EXPECT_FALSE(kvtest::FileExists(spill)) << "renamed into the target's place";
}

TEST_F(SpillFileTest, FragmentTakenBackIsCutFromTheFile) {
    for (int number = 0; number < 5; ++number)
        WriteFragment(number);
    EXPECT_THROW(WriteFragment(5, 4), LibraryError);
    EXPECT_EQ(SpillBytes(File().Path()), ScenarioFileText(expected_));
    WriteFragment(6);
    EXPECT_EQ(SpillBytes(File().Path()), ScenarioFileText(expected_));
}

// The save's target cannot be written: the spill file stays whole, the recording goes on, and the
// next save writes every item.
TEST_F(SpillFileTest, FailedSaveKeepsTheSpillFile) {
    WriteFragment(0);
    const std::wstring spill = File().Path();
    EXPECT_NE(WriteScenarioFile(folder_ + L"missing\\saved.vbs", *ScriptBuffer), 0u);
    EXPECT_EQ(SpillBytes(spill), ScenarioFileText(expected_));

    WriteFragment(1);
    const std::wstring target = folder_ + L"saved.vbs";
    kvtest::WriteFileBytes(target, std::string(10000, 'x'));
    EXPECT_EQ(WriteScenarioFile(target, *ScriptBuffer), 0u);
    EXPECT_EQ(kvtest::FileBytes(target), ScenarioFileText(expected_));
}

} // namespace
} // namespace kv::testing
