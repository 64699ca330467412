// The synchronisation-manager stand-in of kvstandins.dll: it lists the structures of the
// kernel stand-in's server store, the "*.ztp" files of its folder, sorted by name.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

// {2AB668E2-E815-45A8-9E01-F5952EDB6093}
constexpr CLSID CLSID_StandInSyncroManager = {
    0x2AB668E2, 0xE815, 0x45A8, {0x9E, 0x01, 0xF5, 0x95, 0x2E, 0xDB, 0x60, 0x93}};
// {70BC0995-CB50-4CFA-941B-203BD20DCE64}
constexpr IID IID_StandInSyncroManager = {
    0x70BC0995, 0xCB50, 0x4CFA, {0x94, 0x1B, 0x20, 0x3B, 0xD2, 0x0D, 0xCE, 0x64}};

// GetModelNames is the interface's third own method, vtable entry 5 (IUnknown's three counted
// from 0); the two entries before it are not used by the library.
struct IStandInSyncroManager : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Unused3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused4() = 0;
    // A one-dimensional array (lower bound 0) of variants holding the structure names.
    virtual HRESULT STDMETHODCALLTYPE GetModelNames(VARIANT* names) = 0;
};

HRESULT CreateSyncroManager(const IID& iid, void** object);
