// A kernel library that exports only the class-identifier setter. It records what it was
// given, so the back door's test can see the call without a real kernel object changing.
#include <windows.h>
#include <unknwn.h>

namespace {
GUID last_guid = {};
void* last_object = nullptr;
ULONG references_during_call = 0;
} // namespace

extern "C" unsigned char __stdcall zrAbuseSetClassGUID(IUnknown* cls, const GUID* guid) {
    last_guid = *guid;
    last_object = cls;
    cls->AddRef();
    references_during_call = cls->Release();
    return 1;
}

// The last call's arguments and the object's reference count during it.
extern "C" void __stdcall LastClassGuidCall(GUID* guid, void** object, ULONG* references) {
    *guid = last_guid;
    *object = last_object;
    *references = references_during_call;
}
