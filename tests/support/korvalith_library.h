// korvalith.dll as a host loads and calls it: LoadLibrary from the test program's folder,
// exports found by ordinal (or by name, as a COM client finds the server's), stdcall, interface
// arguments as the address of the caller's variable, booleans in 32-bit slots and a one-byte
// result.
#pragma once

#include <windows.h>

#include <zkernel.h>

#include <cstdint>
#include <string>

namespace kvtest {

using DllGetClassObjectFunction = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
using DllCanUnloadNowFunction = HRESULT(__stdcall*)();
using DllRegistrationFunction = HRESULT(__stdcall*)();

class KorvalithLibrary {
public:
    explicit KorvalithLibrary(const wchar_t* name = L"korvalith.dll");
    ~KorvalithLibrary();
    KorvalithLibrary(const KorvalithLibrary&) = delete;
    KorvalithLibrary& operator=(const KorvalithLibrary&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    HMODULE Get() const { return module_; }
    // FreeLibrary now, as a host that unloads the library.
    void Free();

    // An entry point as the function type given; null when there is none.
    template <class Function> Function ByOrdinal(WORD ordinal) const {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(
            module_ ? GetProcAddress(module_, MAKEINTRESOURCEA(ordinal)) : nullptr));
    }
    template <class Function> Function ByName(const char* name) const {
        return reinterpret_cast<Function>(
            reinterpret_cast<void*>(module_ ? GetProcAddress(module_, name) : nullptr));
    }
    // A class object through DllGetClassObject, as COM asks the server for it.
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) const;

    // Each returns the export's result byte as it came (0 or 1).
    int Start(IZModel* model);
    int End(HWND owner, const char* fileName, IZModel* model);
    int Filter(IZFilterVector* filters, const char* name, std::uint32_t removeOnly,
               std::uint32_t newFilter);
    int Class(IZClass* cls, const char* name, std::uint32_t attributeRights, std::uint32_t links,
              std::uint32_t filters, std::uint32_t updateOnly);
    int Constraint(const char* filter, const char* className, std::uint32_t remove);
    int Security(IZModel* model, const char* groupId);
    int Module(IZClassVector* classVector, const char* name, std::uint32_t remove);
    int ClassLink(const char* parent, const char* child, std::uint32_t remove);
    int Execute(HWND owner, IZModel* model, const char* scenarioFile);
    int Difference(IZModel* model, HWND owner);
    int DifferenceFile(IZModel* model, const char* structureFile);
    HRESULT CanUnloadNow();

    // The HTML exports themselves, for calls with arguments a host might get wrong.
    using SaveAsHtmlExport = unsigned char(__stdcall*)(IZModel** model, HWND owner);
    using SaveAsHtmlFileExport = unsigned char(__stdcall*)(IZModel** model, const char* file_name);
    SaveAsHtmlExport SaveAsHTML() const;
    SaveAsHtmlFileExport SaveAsHTMLFile() const;

private:
    FARPROC Export(WORD ordinal) const;

    HMODULE module_ = nullptr;
};

} // namespace kvtest
