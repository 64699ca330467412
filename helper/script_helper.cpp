// TZScriptHelper as a COM object: identity, lifetime, IDispatch and error information. The
// methods themselves are in script_helper_methods.cpp.
#include "helper/script_helper.h"

#include "platform/barriers.h"
#include "platform/module_path.h"

namespace kv {

using Microsoft::WRL::ComPtr;

TZScriptHelper::TZScriptHelper() {
    // Last step of construction: the back door locates and loads the kernel's library.
    abuse_model_ = std::make_unique<TAbuseModel>();
}

TZScriptHelper::~TZScriptHelper() {
    // The back door (and the kernel library it loaded) goes first.
    abuse_model_.reset();
}

HRESULT TZScriptHelper::Create(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    return ComMethodBarrier(IID_IZScriptHelper, ScriptHelperProgId, [&] {
        auto* helper = new TZScriptHelper;
        const HRESULT hr = helper->QueryInterface(riid, object);
        helper->Release();
        return hr;
    });
}

HRESULT TZScriptHelper::QueryInterface(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, IID_IZScriptHelper))
        *object = static_cast<IZScriptHelper*>(this);
    else if (IsEqualIID(riid, IID_ISupportErrorInfo))
        *object = static_cast<ISupportErrorInfo*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG TZScriptHelper::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG TZScriptHelper::Release() {
    const LONG remaining = InterlockedDecrement(&references_);
    if (remaining == 0)
        delete this;
    return static_cast<ULONG>(remaining);
}

ITypeInfo* TZScriptHelper::TypeInfo() {
    if (!type_info_) {
        ComPtr<ITypeLib> library;
        check(LoadTypeLibEx(ModulePath(ThisModule()).c_str(), REGKIND_NONE, &library));
        check(library->GetTypeInfoOfGuid(IID_IZScriptHelper, &type_info_));
    }
    return type_info_.Get();
}

HRESULT TZScriptHelper::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT TZScriptHelper::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return ComMethodBarrier(IID_IDispatch, ScriptHelperProgId, [&] {
        *info = TypeInfo();
        (*info)->AddRef();
        return S_OK;
    });
}

HRESULT TZScriptHelper::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    return ComMethodBarrier(IID_IDispatch, ScriptHelperProgId,
                            [&] { return DispGetIDsOfNames(TypeInfo(), names, count, ids); });
}

HRESULT TZScriptHelper::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* exception, UINT* argument_error) {
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    return ComMethodBarrier(IID_IDispatch, ScriptHelperProgId, [&] {
        return TypeInfo()->Invoke(static_cast<IZScriptHelper*>(this), id, flags, params, result,
                                  exception, argument_error);
    });
}

HRESULT TZScriptHelper::InterfaceSupportsErrorInfo(REFIID riid) {
    return IsEqualIID(riid, IID_IZScriptHelper) ? S_OK : S_FALSE;
}

} // namespace kv
