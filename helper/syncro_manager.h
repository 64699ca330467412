// The synchronisation manager, an outside component that knows the structures kept on the
// server, as the library calls it.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

// {2AB668E2-E815-45A8-9E01-F5952EDB6093}
constexpr CLSID CLSID_CoZSyncroManager = {
    0x2AB668E2, 0xE815, 0x45A8, {0x9E, 0x01, 0xF5, 0x95, 0x2E, 0xDB, 0x60, 0x93}};
// {70BC0995-CB50-4CFA-941B-203BD20DCE64}
constexpr IID IID_IZSyncroManager = {
    0x70BC0995, 0xCB50, 0x4CFA, {0x94, 0x1B, 0x20, 0x3B, 0xD2, 0x0D, 0xCE, 0x64}};

// Only GetModelNames is used: the interface's third own method, vtable entry 5 (IUnknown's
// three counted from 0), so two entries the library never calls come before it.
struct IZSyncroManager : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
    // A one-dimensional array whose elements, as text, name the server's structures in the form
    // that a model loads with flags 4.
    virtual HRESULT STDMETHODCALLTYPE GetModelNames(VARIANT* names) = 0;
};
__CRT_UUID_DECL(IZSyncroManager, 0x70BC0995, 0xCB50, 0x4CFA, 0x94, 0x1B, 0x20, 0x3B, 0xD2, 0x0D,
                0xCE, 0x64)

namespace kv {

} // namespace kv
