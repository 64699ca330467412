// What the COM objects of kvstandins.dll (and its class factory) share: reference counting tied
// to the module count, the answer to QueryInterface for their one interface, and their creation.
#pragma once

#include "server_lifetime.h"

#include <windows.h>
#include <objbase.h>

#include <new>
#include <type_traits>
#include <utility>

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
        // An object called by dispatch answers for IDispatch as well.
        const bool dispatch = std::is_base_of_v<IDispatch, Interface> && iid == IID_IDispatch;
        if (iid != IID_IUnknown && iid != own && !dispatch)
            return E_NOINTERFACE;
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }

private:
    LONG references_ = 1;
};

// A new object answering for the interface asked; the caller holds its only reference.
template <class Object, class... Arguments>
HRESULT CreateStandIn(const IID& iid, void** object, Arguments&&... arguments) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    auto* created = new (std::nothrow) Object(std::forward<Arguments>(arguments)...);
    if (!created)
        return E_OUTOFMEMORY;
    const HRESULT hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
}
