// The in-process server's entry points for class objects and unloading.
#include "entry/class_factory.h"
#include "entry/class_table.h"
#include "entry/library_startup.h"

#include "platform/barriers.h"
#include "platform/module_lifetime.h"

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    return kv::ComMethodBarrier(IID_IClassFactory, nullptr, [&] {
        kv::StartLibraryOnce();
        const kv::ServedClass* served = kv::FindServedClass(clsid);
        if (!served || !kv::ClassFactoriesReady())
            return CLASS_E_CLASSNOTAVAILABLE;
        return kv::CreateClassFactory(*served, riid, object);
    });
}

extern "C" HRESULT __stdcall DllCanUnloadNow() {
    return kv::ModuleInUse() ? S_FALSE : S_OK;
}
