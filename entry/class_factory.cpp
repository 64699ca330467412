#include "entry/class_factory.h"

#include "platform/barriers.h"
#include "platform/module_lifetime.h"

#include <new>

namespace kv {

namespace {

bool factories_ready = false;

struct ClassFactory final : IClassFactory {
    explicit ClassFactory(const ServedClass& served) : served(served) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory))
            return E_NOINTERFACE;
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }

    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references));
    }

    ULONG STDMETHODCALLTYPE Release() override {
        const LONG remaining = InterlockedDecrement(&references);
        if (remaining == 0)
            delete this;
        return static_cast<ULONG>(remaining);
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return served.create(riid, object);
    }

    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            ModuleAddRef();
        else
            ModuleRelease();
        return S_OK;
    }

    const ServedClass& served;
    ModuleReference module_reference;
    LONG references = 1;
};

} // namespace

void MakeClassFactoriesReady() noexcept {
    factories_ready = true;
}

bool ClassFactoriesReady() noexcept {
    return factories_ready;
}

HRESULT CreateClassFactory(const ServedClass& served, REFIID riid, void** object) {
    auto* factory = new (std::nothrow) ClassFactory(served);
    if (!factory)
        return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(riid, object);
    factory->Release();
    return hr;
}

} // namespace kv
