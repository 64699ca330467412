// Load and unload. Only what is safe under the loader lock happens here: no window, no COM
// call; the start-up steps run on first use (library_startup.cpp).
#include "recording/recording_state.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(instance);
        break;
    case DLL_PROCESS_DETACH:
        // A recording still open is dropped without writing or asking. Its link receiver is
        // disconnected only when the library is freed; at process exit (reserved non-null)
        // the kernel it is connected to may be gone.
        kv::ReleaseRecordingAtUnload(reserved == nullptr);
        break;
    }
    return TRUE;
}
