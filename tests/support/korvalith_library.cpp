#include "host_library.h"

#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The ordinals of the library's interface.
constexpr WORD kScriptClassLink = 1;
constexpr WORD kScriptExecute = 2;
constexpr WORD kScriptEnd = 3;
constexpr WORD kScriptModule = 4;
constexpr WORD kScriptDifference = 5;
constexpr WORD kScriptSecurity = 6;
constexpr WORD kScriptConstraint = 7;
constexpr WORD kScriptFilter = 8;
constexpr WORD kScriptStart = 15;
constexpr WORD kDllCanUnloadNow = 19;
constexpr WORD kScriptDifferenceFile = 21;

using Result = unsigned char;

template <class Function> Function As(FARPROC procedure) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(procedure));
}

} // namespace

HostLibrary::HostLibrary() : module_(LoadLibraryW(L"korvalith.dll")) {}

HostLibrary::~HostLibrary() {
    Free();
}

void HostLibrary::Free() {
    if (module_)
        FreeLibrary(module_);
    module_ = nullptr;
}

FARPROC HostLibrary::Export(WORD ordinal) const {
    FARPROC procedure =
        module_ ? GetProcAddress(module_, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(ordinal)))
                : nullptr;
    if (!procedure)
        ADD_FAILURE() << "korvalith.dll has no export at ordinal " << ordinal;
    return procedure;
}

int HostLibrary::Start(IZModel* model) {
    auto start = As<Result(__stdcall*)(IZModel**)>(Export(kScriptStart));
    IZModel* variable = model;
    return start ? start(&variable) : -1;
}

int HostLibrary::End(HWND owner, const char* fileName, IZModel* model) {
    auto end = As<Result(__stdcall*)(HWND, const char*, IZModel**)>(Export(kScriptEnd));
    IZModel* variable = model;
    return end ? end(owner, fileName, &variable) : -1;
}

int HostLibrary::Filter(IZFilterVector* filters, const char* name, std::uint32_t removeOnly,
                        std::uint32_t newFilter) {
    auto filter =
        As<Result(__stdcall*)(IZFilterVector**, const char*, std::uint32_t, std::uint32_t)>(
            Export(kScriptFilter));
    IZFilterVector* variable = filters;
    return filter ? filter(&variable, name, removeOnly, newFilter) : -1;
}

int HostLibrary::Constraint(const char* filter, const char* className, std::uint32_t remove) {
    auto constraint =
        As<Result(__stdcall*)(const char*, const char*, std::uint32_t)>(Export(kScriptConstraint));
    return constraint ? constraint(filter, className, remove) : -1;
}

int HostLibrary::Security(IZModel* model, const char* groupId) {
    auto security = As<Result(__stdcall*)(IZModel**, const char*)>(Export(kScriptSecurity));
    IZModel* variable = model;
    return security ? security(&variable, groupId) : -1;
}

int HostLibrary::Module(IZClassVector* classVector, const char* name, std::uint32_t remove) {
    auto module =
        As<Result(__stdcall*)(IZClassVector**, const char*, std::uint32_t)>(Export(kScriptModule));
    IZClassVector* variable = classVector;
    return module ? module(&variable, name, remove) : -1;
}

int HostLibrary::ClassLink(const char* parent, const char* child, std::uint32_t remove) {
    auto link =
        As<Result(__stdcall*)(const char*, const char*, std::uint32_t)>(Export(kScriptClassLink));
    return link ? link(parent, child, remove) : -1;
}

int HostLibrary::Execute(HWND owner, IZModel* model, const char* scenarioFile) {
    auto execute = As<Result(__stdcall*)(HWND, IZModel**, const char*)>(Export(kScriptExecute));
    IZModel* variable = model;
    return execute ? execute(owner, &variable, scenarioFile) : -1;
}

int HostLibrary::Difference(IZModel* model, HWND owner) {
    auto difference = As<Result(__stdcall*)(IZModel**, HWND)>(Export(kScriptDifference));
    IZModel* variable = model;
    return difference ? difference(&variable, owner) : -1;
}

int HostLibrary::DifferenceFile(IZModel* model, const char* structureFile) {
    auto difference =
        As<Result(__stdcall*)(IZModel**, const char*)>(Export(kScriptDifferenceFile));
    IZModel* variable = model;
    return difference ? difference(&variable, structureFile) : -1;
}

HRESULT HostLibrary::CanUnloadNow() {
    auto canUnloadNow = As<HRESULT(__stdcall*)()>(Export(kDllCanUnloadNow));
    return canUnloadNow ? canUnloadNow() : E_FAIL;
}

ULONG ReferenceCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

std::wstring TakeErrorDescription() {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info)
        return {};
    BSTR description = nullptr;
    std::wstring text;
    if (SUCCEEDED(info->GetDescription(&description)) && description)
        text.assign(description, SysStringLen(description));
    SysFreeString(description);
    info->Release();
    return text;
}
