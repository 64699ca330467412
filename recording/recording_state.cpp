#include "recording/recording_state.h"

namespace kv {

bool RecordingActive = false;
std::optional<ScriptItemList> ScriptBuffer;
std::unique_ptr<RecordingLinkReceiver> LinkEventReceiver;
bool DifferenceMode = false;

void ReleaseRecording() noexcept {
    if (LinkEventReceiver) {
        LinkEventReceiver->Disconnect();
        LinkEventReceiver.reset();
    }
    ScriptBuffer.reset();
    RecordingActive = false;
    DifferenceMode = false;
}

void ReleaseRecordingAtUnload(bool library_freed) noexcept {
    if (!library_freed) {
        // Deliberately leaked: its destructor would call into modules already unloaded.
        static_cast<void>(LinkEventReceiver.release());
    }
    ReleaseRecording();
}

} // namespace kv
