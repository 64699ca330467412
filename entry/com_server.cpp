// The in-process server's entry points for class objects and unloading.
#include "class_factory.h"
#include "class_table.h"
#include "library_startup.h"

#include "platform/barriers.h"
#include "platform/module_lifetime.h"

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    return ComMethodBarrier(IID_IClassFactory, nullptr, [&] {
        StartLibraryOnce();
        const ServedClass* served = FindServedClass(clsid);
        if (!served || !ClassFactoriesReady())
            return CLASS_E_CLASSNOTAVAILABLE;
        return CreateClassFactory(*served, riid, object);
    });
}

extern "C" HRESULT __stdcall DllCanUnloadNow() {
    return ModuleInUse() ? S_FALSE : S_OK;
}
