#include "entry/library_startup.h"

#include "entry/class_factory.h"

#include "common/font_scale.h"
#include "common/handle_error.h"
#include "common/hint_window.h"
#include "recording/recording_state.h"

#include <mutex>

namespace kv {

namespace {

void ResetRecordingState() {
    RecordingActive = false;
}

void StartLibrary() {
    LoadFontScale();          // the font scale of the library's windows, from the registry
    InstallHintWindowClass(); // THintWindowEx for the application object's hints
    AttachErrorHandler();     // HandleError on the application object's exception event
    ResetRecordingState();
    MakeClassFactoriesReady();
}

} // namespace

void StartLibraryOnce() {
    static std::once_flag started;
    std::call_once(started, StartLibrary);
}

} // namespace kv
