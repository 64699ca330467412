// The count of live objects and factory locks of kvstandins.dll, for DllCanUnloadNow.
#pragma once

#include <windows.h>

#include <new>

void ServerObjectCreated() noexcept;
void ServerObjectDestroyed() noexcept;

// A new object of a served class, as the interface asked for (its one reference is the
// caller's).
template <class Object> HRESULT CreateServedObject(const IID& iid, void** object) {
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
