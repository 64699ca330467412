// korvalith.dll as the host loads and calls it: LoadLibrary, exports found by ordinal, stdcall,
// interface arguments as the address of the caller's variable, booleans in 32-bit slots and a
// one-byte result.
#pragma once

#include <windows.h>

#include <zkernel.h>

#include <cstdint>
#include <string>

class HostLibrary {
public:
    HostLibrary();
    ~HostLibrary();
    HostLibrary(const HostLibrary&) = delete;
    HostLibrary& operator=(const HostLibrary&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    // FreeLibrary now, as a host that unloads the library.
    void Free();

    // Each returns the export's result byte as it came (0 or 1).
    int Start(IZModel* model);
    int End(HWND owner, const char* fileName, IZModel* model);
    int Filter(IZFilterVector* filters, const char* name, std::uint32_t removeOnly,
               std::uint32_t newFilter);
    int Constraint(const char* filter, const char* className, std::uint32_t remove);
    int Security(IZModel* model, const char* groupId);
    int Module(IZClassVector* classVector, const char* name, std::uint32_t remove);
    int ClassLink(const char* parent, const char* child, std::uint32_t remove);
    int Execute(HWND owner, IZModel* model, const char* scenarioFile);
    int Difference(IZModel* model, HWND owner);
    int DifferenceFile(IZModel* model, const char* structureFile);
    HRESULT CanUnloadNow();

private:
    FARPROC Export(WORD ordinal) const;

    HMODULE module_ = nullptr;
};

// An object's reference count, as AddRef and Release report it.
ULONG ReferenceCount(IUnknown* object);

// The description of the thread's COM error information ("" when none), taking it.
std::wstring TakeErrorDescription();
