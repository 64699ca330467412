// korvalith.dll as a host loads it: LoadLibrary from the test program's folder, entry points
// by ordinal or name. Also the reference-count probe of COM lifetime tests.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <gtest/gtest.h>

class LoadedLibrary {
public:
    explicit LoadedLibrary(const wchar_t* name = L"korvalith.dll") : module_(LoadLibraryW(name)) {}
    ~LoadedLibrary() {
        if (module_)
            FreeLibrary(module_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    HMODULE Get() const { return module_; }

    template <class Function> Function ByOrdinal(WORD ordinal) const {
        return reinterpret_cast<Function>(
            reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(ordinal))));
    }
    template <class Function> Function ByName(const char* name) const {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};

// The object's reference count, without changing it.
inline ULONG RefCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}
#define EXPECT_REF(object, count) EXPECT_EQ(RefCount(object), static_cast<ULONG>(count))

using DllGetClassObjectFunction = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
using DllCanUnloadNowFunction = HRESULT(__stdcall*)();
using DllRegistrationFunction = HRESULT(__stdcall*)();
