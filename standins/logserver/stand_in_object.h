// What the COM objects of kvstandins.dll share: reference counting tied to the module count,
// the answer to QueryInterface for their one interface, and their creation.
#pragma once

#include "server_lifetime.h"

#include <windows.h>
#include <objbase.h>

#include <new>

// Reference counting shared by the stand-ins' objects, tied to the module count.
template <class Interface> class ComObject : public Interface {
public:
    ComObject() { ServerObjectCreated(); }
    virtual ~ComObject() { ServerObjectDestroyed(); }

    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

protected:
    HRESULT Answer(const IID& iid, const IID& own, void** object) {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != own)
            return E_NOINTERFACE;
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }

private:
    LONG references_ = 1;
};

// A new object answering for the interface asked; the caller holds its only reference.
template <class Object> HRESULT CreateStandIn(const IID& iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    auto* created = new (std::nothrow) Object();
    if (!created)
        return E_OUTOFMEMORY;
    const HRESULT hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
}
