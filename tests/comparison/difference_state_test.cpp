// The recording state around a difference, with the comparison unit linked in: a file that
// cannot be loaded leaves the difference mode as it was (so scriptEnd will not offer to apply a
// scenario that holds no difference), and a loaded one sets it.
#include "difference_files.h"

#include "platform/barriers.h"
#include "comparison/difference_exports.h"
#include "recording/recording_session.h"
#include "recording/recording_state.h"
#include "support/stand_in_model.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

using namespace kv;

namespace {

using Microsoft::WRL::ComPtr;

class DifferenceState : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        model_ = kvtest::StandInModel().Model();
        ASSERT_TRUE(kv::scriptStart(model_.Get()));
    }
    void TearDown() override {
        ReleaseRecording();
        model_.Reset();
        CoUninitialize();
    }

    ComPtr<IZModel> model_;
};

TEST_F(DifferenceState, FileThatCannotBeLoadedLeavesTheModeAndTheRecordingAsTheyWere) {
    for (const std::string& file : {FixturePath("malformed.ztp"), FixturePath("missing.ztp")}) {
        EXPECT_THROW(kv::scriptDifferenceFile(model_.Get(), file), LibraryError) << file;
        EXPECT_FALSE(DifferenceMode) << file;
        EXPECT_TRUE(RecordingActive);
        EXPECT_EQ(ScriptBuffer->size(), 1u) << "only the header";
    }
}

TEST_F(DifferenceState, LoadedFileSetsTheMode) {
    EXPECT_TRUE(kv::scriptDifferenceFile(model_.Get(), FixturePath("target.ztp")));
    EXPECT_TRUE(DifferenceMode);
    ASSERT_TRUE(kv::scriptStart(model_.Get()));
    EXPECT_FALSE(DifferenceMode);
}

} // namespace
