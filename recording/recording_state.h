// The recording state: one instance per process, from load to unload. Like every process-wide
// state of the library it is touched only on the host's user-interface thread, so it has no
// lock.
#pragma once

#include "recording/script_item_list.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// The receiver of the class vector's link events while a recording is open, as the recording
// holds it. Destroying it releases everything it holds.
class RecordingLinkReceiver {
public:
    virtual ~RecordingLinkReceiver() = default;
    // Stops the link events: the receiver leaves the class vector's connection point.
    virtual void Disconnect() noexcept = 0;
};

// Ordered text items of a scenario, as fragments are made; one item may hold several lines.
using ScriptItems = std::vector<std::string>;

// A recording is open; every fragment generator tests it first.
extern bool RecordingActive;
// The scenario being recorded; exists only while a recording is open.
extern std::optional<ScriptItemList> ScriptBuffer;
// Receives the class vector's link events while a recording is open.
extern std::unique_ptr<RecordingLinkReceiver> LinkEventReceiver;
// The open recording is a difference scenario.
extern bool DifferenceMode;

// Closes the recording without writing anything: the receiver disconnects and is released,
// the buffer is dropped (its spill file deleted), the state is as at load.
void ReleaseRecording() noexcept;

// The unload step. When the library is freed (FreeLibrary) the recording is released as
// above. At process exit the objects the receiver refers to may be gone already, so the
// receiver is abandoned without a call; the buffer is dropped either way.
void ReleaseRecordingAtUnload(bool library_freed) noexcept;

} // namespace kv
