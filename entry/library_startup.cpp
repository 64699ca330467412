#include "library_startup.h"

#include "class_factory.h"

#include "recording/recording_state.h"

#include <mutex>

namespace {

// The font scale of the library's windows, read from the registry (comes with font scaling).
void LoadFontScale() {}

// The hint window class of the application object (comes with the message dialog form).
void InstallHintWindowClass() {}

// HandleError on the application object's exception event (comes with error handling).
void AttachErrorHandler() {}

void ResetRecordingState() {
    RecordingActive = false;
}

void StartLibrary() {
    LoadFontScale();
    InstallHintWindowClass();
    AttachErrorHandler();
    ResetRecordingState();
    MakeClassFactoriesReady();
}

} // namespace

void StartLibraryOnce() {
    static std::once_flag started;
    std::call_once(started, StartLibrary);
}
