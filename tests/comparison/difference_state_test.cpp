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

// A kernel call that fails anywhere in the difference takes back everything the difference had
// appended and leaves the mode as it was, so the host is never offered half a difference.
TEST_F(DifferenceState, AFailingKernelCallTakesTheWholeDifferenceBack) {
    ComPtr<IZModelAdmin> admin;
    ASSERT_HRESULT_SUCCEEDED(model_.As(&admin));
    ASSERT_HRESULT_SUCCEEDED(admin->zrSetCallFailure(-1, 0));
    ASSERT_TRUE(kv::scriptDifferenceFile(model_.Get(), FixturePath("target.ztp")));
    long calls = 0;
    ASSERT_HRESULT_SUCCEEDED(admin->get_zrCallCount(&calls));
    ASSERT_GT(calls, 20);
    // A spread of calls across the difference's sections, first and last included. A failing
    // lookup that the difference reads as "not found" lets it complete.
    int failures = 0;
    for (long nth : {1L, 2L, calls / 7, calls / 3, calls / 2, calls - 1, calls}) {
        ReleaseRecording();
        ASSERT_TRUE(kv::scriptStart(model_.Get()));
        ASSERT_HRESULT_SUCCEEDED(admin->zrSetCallFailure(nth, 0));
        bool failed = false;
        try {
            kv::scriptDifferenceFile(model_.Get(), FixturePath("target.ztp"));
        } catch (const std::exception&) {
            failed = true;
        }
        ASSERT_HRESULT_SUCCEEDED(admin->zrSetCallFailure(0, 0));
        if (!failed) {
            EXPECT_TRUE(DifferenceMode) << "call " << nth;
            continue;
        }
        ++failures;
        EXPECT_FALSE(DifferenceMode) << "call " << nth;
        EXPECT_EQ(ScriptBuffer->size(), 1u) << "call " << nth << ": only the header";
    }
    EXPECT_GE(failures, 5);
}

} // namespace
