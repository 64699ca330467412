// Releasing the recording: on close, when the library is freed and at process exit.
#include "recording/recording_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kv;

namespace {

class FakeReceiver : public RecordingLinkReceiver {
public:
    explicit FakeReceiver(std::vector<std::string>& log) : log_(log) {}
    ~FakeReceiver() override { log_.push_back("destroyed"); }
    void Disconnect() noexcept override { log_.push_back("disconnected"); }

private:
    std::vector<std::string>& log_;
};

class RecordingState : public testing::Test {
protected:
    // An open difference recording with two items and a connected receiver.
    void OpenRecording() {
        RecordingActive = true;
        DifferenceMode = true;
        ScriptBuffer = ScriptItemList{"on error resume next", "line 1\r\nline 2"};
        receiver_ = new FakeReceiver(log_);
        LinkEventReceiver.reset(receiver_);
    }

    void ExpectClosedState() {
        EXPECT_FALSE(RecordingActive);
        EXPECT_FALSE(DifferenceMode);
        EXPECT_FALSE(ScriptBuffer.has_value());
        EXPECT_EQ(LinkEventReceiver, nullptr);
    }

    std::vector<std::string> log_;
    FakeReceiver* receiver_ = nullptr;
};

TEST_F(RecordingState, ReleaseDisconnectsTheReceiverBeforeReleasingIt) {
    OpenRecording();
    ReleaseRecording();
    EXPECT_EQ(log_, (std::vector<std::string>{"disconnected", "destroyed"}));
    ExpectClosedState();
}

TEST_F(RecordingState, FreeingTheLibraryReleasesAnOpenRecording) {
    OpenRecording();
    ReleaseRecordingAtUnload(/*library_freed=*/true);
    EXPECT_EQ(log_, (std::vector<std::string>{"disconnected", "destroyed"}));
    ExpectClosedState();
}

TEST_F(RecordingState, ProcessExitDropsTheBufferAndLeavesTheReceiverAlone) {
    OpenRecording();
    ReleaseRecordingAtUnload(/*library_freed=*/false);
    EXPECT_TRUE(log_.empty()) << "the receiver was called at process exit";
    ExpectClosedState();
    delete receiver_; // abandoned by the library; freed here so the leak check stays quiet
}

TEST_F(RecordingState, ReleasingWithNoRecordingOpenIsHarmless) {
    ReleaseRecording();
    ReleaseRecordingAtUnload(true);
    ExpectClosedState();
}

} // namespace
