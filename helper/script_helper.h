// TZScriptHelper: the automation object "korvalith.ZScriptHelper" that scenarios create for
// what the kernel's own interfaces do not let a script do. One object per client request;
// each owns one TAbuseModel (the kernel's back door) for its life.
#pragma once

#include "helper/abuse_model.h"
#include "platform/module_lifetime.h"

#include <korvalith.h>
#include <zkernel.h>
#include <wrl/client.h>

#include <memory>

namespace kv {

struct TZScriptHelper final : IZScriptHelper, ISupportErrorInfo {
    // Makes an object and answers for the interface asked.
    static HRESULT Create(REFIID riid, void** object);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch, answered from the library's type library.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument_error) override;

    // IZScriptHelper. The small methods swallow every error and return S_OK.
    HRESULT STDMETHODCALLTYPE zsSetCValDataType(IUnknown* cval, BSTR s_guid) override;
    HRESULT STDMETHODCALLTYPE zsClearRights(IUnknown* item, IUnknown* loc_sec) override;
    HRESULT STDMETHODCALLTYPE zsGiveRights(IUnknown* item, INT rights, BSTR group_id,
                                           IUnknown* loc_sec) override;
    HRESULT STDMETHODCALLTYPE zsPropName(IUnknown* props, LONG item, BSTR* val) override;
    HRESULT STDMETHODCALLTYPE zsSetCoors(IUnknown* cls, LONG x, LONG y) override;
    HRESULT STDMETHODCALLTYPE zsSetClassGUID(IUnknown* cls, BSTR guid) override;
    HRESULT STDMETHODCALLTYPE zsSetClassValueGUID(IUnknown* cval, BSTR guid) override;
    HRESULT STDMETHODCALLTYPE zsCopyObjGUID(IUnknown* obj_from, IUnknown* obj_to) override;
    HRESULT STDMETHODCALLTYPE zsImportAppendedToSvr(BSTR struct_distr, BSTR struct_user_serv,
                                                    VARIANT_BOOL mark_appended,
                                                    BSTR* Value) override;
    HRESULT STDMETHODCALLTYPE zsCopyModelRights(BSTR src_group, BSTR dst_group) override;
    HRESULT STDMETHODCALLTYPE zsAllowChangesByEvents(IDispatch* mdl, VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE zsRemoveRights(IUnknown* item, BSTR group_id,
                                             IUnknown* loc_sec) override;
    HRESULT STDMETHODCALLTYPE zsClassValueGUIDasStr(IUnknown* cval, BSTR* Value) override;

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

private:
    TZScriptHelper();
    ~TZScriptHelper();

    ITypeInfo* TypeInfo();

    ModuleReference module_reference_;
    LONG references_ = 1;
    Microsoft::WRL::ComPtr<ITypeInfo> type_info_;
    std::unique_ptr<TAbuseModel> abuse_model_;
};

// The source named in the error information of the helper's methods.
constexpr const wchar_t* ScriptHelperProgId = L"korvalith.ZScriptHelper";

} // namespace kv
