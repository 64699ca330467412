#include "support/korvalith_library.h"

#include <gtest/gtest.h>

#include <string>

namespace kvtest {
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
constexpr WORD kScriptClass = 10;
constexpr WORD kScriptStart = 15;
constexpr WORD kSaveAsHTML = 16;
constexpr WORD kDllCanUnloadNow = 19;
constexpr WORD kScriptDifferenceFile = 21;
constexpr WORD kSaveAsHTMLFile = 22;

using Result = unsigned char;

template <class Function> Function As(FARPROC procedure) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(procedure));
}

} // namespace

KorvalithLibrary::KorvalithLibrary(const wchar_t* name) : module_(LoadLibraryW(name)) {}

KorvalithLibrary::~KorvalithLibrary() {
    Free();
}

void KorvalithLibrary::Free() {
    if (module_)
        FreeLibrary(module_);
    module_ = nullptr;
}

FARPROC KorvalithLibrary::Export(WORD ordinal) const {
    FARPROC procedure =
        module_ ? GetProcAddress(module_, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(ordinal)))
                : nullptr;
    if (!procedure)
        ADD_FAILURE() << "korvalith.dll has no export at ordinal " << ordinal;
    return procedure;
}

int KorvalithLibrary::Start(IZModel* model) {
    auto start = As<Result(__stdcall*)(IZModel**)>(Export(kScriptStart));
    IZModel* variable = model;
    return start ? start(&variable) : -1;
}

int KorvalithLibrary::End(HWND owner, const char* fileName, IZModel* model) {
    auto end = As<Result(__stdcall*)(HWND, const char*, IZModel**)>(Export(kScriptEnd));
    IZModel* variable = model;
    return end ? end(owner, fileName, &variable) : -1;
}

int KorvalithLibrary::Filter(IZFilterVector* filters, const char* name, std::uint32_t removeOnly,
                             std::uint32_t newFilter) {
    auto filter =
        As<Result(__stdcall*)(IZFilterVector**, const char*, std::uint32_t, std::uint32_t)>(
            Export(kScriptFilter));
    IZFilterVector* variable = filters;
    return filter ? filter(&variable, name, removeOnly, newFilter) : -1;
}

int KorvalithLibrary::Class(IZClass* cls, const char* name, std::uint32_t attributeRights,
                            std::uint32_t links, std::uint32_t filters, std::uint32_t updateOnly) {
    auto record = As<Result(__stdcall*)(IZClass**, const char*, std::uint32_t, std::uint32_t,
                                        std::uint32_t, std::uint32_t)>(Export(kScriptClass));
    IZClass* variable = cls;
    return record ? record(&variable, name, attributeRights, links, filters, updateOnly) : -1;
}

int KorvalithLibrary::Constraint(const char* filter, const char* className, std::uint32_t remove) {
    auto constraint =
        As<Result(__stdcall*)(const char*, const char*, std::uint32_t)>(Export(kScriptConstraint));
    return constraint ? constraint(filter, className, remove) : -1;
}

int KorvalithLibrary::Security(IZModel* model, const char* groupId) {
    auto security = As<Result(__stdcall*)(IZModel**, const char*)>(Export(kScriptSecurity));
    IZModel* variable = model;
    return security ? security(&variable, groupId) : -1;
}

int KorvalithLibrary::Module(IZClassVector* classVector, const char* name, std::uint32_t remove) {
    auto module =
        As<Result(__stdcall*)(IZClassVector**, const char*, std::uint32_t)>(Export(kScriptModule));
    IZClassVector* variable = classVector;
    return module ? module(&variable, name, remove) : -1;
}

int KorvalithLibrary::ClassLink(const char* parent, const char* child, std::uint32_t remove) {
    auto link =
        As<Result(__stdcall*)(const char*, const char*, std::uint32_t)>(Export(kScriptClassLink));
    return link ? link(parent, child, remove) : -1;
}

int KorvalithLibrary::Execute(HWND owner, IZModel* model, const char* scenarioFile) {
    auto execute = As<Result(__stdcall*)(HWND, IZModel**, const char*)>(Export(kScriptExecute));
    IZModel* variable = model;
    return execute ? execute(owner, &variable, scenarioFile) : -1;
}

int KorvalithLibrary::Difference(IZModel* model, HWND owner) {
    auto difference = As<Result(__stdcall*)(IZModel**, HWND)>(Export(kScriptDifference));
    IZModel* variable = model;
    return difference ? difference(&variable, owner) : -1;
}

int KorvalithLibrary::DifferenceFile(IZModel* model, const char* structureFile) {
    auto difference = As<Result(__stdcall*)(IZModel**, const char*)>(Export(kScriptDifferenceFile));
    IZModel* variable = model;
    return difference ? difference(&variable, structureFile) : -1;
}

HRESULT KorvalithLibrary::CanUnloadNow() {
    auto canUnloadNow = As<HRESULT(__stdcall*)()>(Export(kDllCanUnloadNow));
    return canUnloadNow ? canUnloadNow() : E_FAIL;
}

KorvalithLibrary::SaveAsHtmlExport KorvalithLibrary::SaveAsHTML() const {
    return As<SaveAsHtmlExport>(Export(kSaveAsHTML));
}

KorvalithLibrary::SaveAsHtmlFileExport KorvalithLibrary::SaveAsHTMLFile() const {
    return As<SaveAsHtmlFileExport>(Export(kSaveAsHTMLFile));
}

HRESULT KorvalithLibrary::GetClassObject(REFCLSID clsid, REFIID iid, void** object) const {
    const auto get_class_object = ByName<DllGetClassObjectFunction>("DllGetClassObject");
    if (!get_class_object) {
        *object = nullptr;
        ADD_FAILURE() << "korvalith.dll has no DllGetClassObject";
        return E_FAIL;
    }
    return get_class_object(clsid, iid, object);
}

} // namespace kvtest
