#include "directory_object.h"

#include "logserver/log_server_object.h"
#include "logserver/stand_in_object.h"

#include <oleauto.h>

#include <new>
#include <string>

namespace {

// {79834078-FF64-42B2-AD6D-501A448AFA3E}: the component as its callers ask for it.
constexpr IID IID_StandInDirectory = {
    0x79834078, 0xFF64, 0x42B2, {0xAD, 0x6D, 0x50, 0x1A, 0x44, 0x8A, 0xFA, 0x3E}};
// {E06ADC8A-4E97-45EE-A2F9-D570AA18C358}: its help object.
constexpr IID IID_StandInHelp = {
    0xE06ADC8A, 0x4E97, 0x45EE, {0xA2, 0xF9, 0xD5, 0x70, 0xAA, 0x18, 0xC3, 0x58}};

constexpr DISPID kHelpObjectMember = 1;
constexpr DISPID kShowHelpMember = 26;

// An object called only by dispatch identifier, as the library calls the real component: it
// has no type information and answers the one member it serves in Invoke.
class DispatchObject : public ComObject<IDispatch> {
public:
    explicit DispatchObject(const IID& own) : own_(own) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return Answer(iid, own_, object);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID* ids) override {
        return E_NOTIMPL;
    }

private:
    const IID& own_;
};

class HelpObject final : public DispatchObject {
public:
    HelpObject() : DispatchObject(IID_StandInHelp) {}

    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override {
        if (member != kShowHelpMember)
            return DISP_E_MEMBERNOTFOUND;
        if (!parameters || parameters->cArgs != 2)
            return DISP_E_BADPARAMCOUNT;
        // Arguments arrive last first.
        const VARIANT& file = parameters->rgvarg[1];
        const VARIANT& topic = parameters->rgvarg[0];
        if (file.vt != VT_BSTR || topic.vt != VT_I4)
            return DISP_E_TYPEMISMATCH;
        const std::wstring path(file.bstrVal ? file.bstrVal : L"");
        try {
            RecordedCalls().push_back(L"ShowHelp|" + path + L"|" + std::to_wstring(topic.lVal));
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            if (exception) {
                *exception = {};
                exception->scode = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
                exception->bstrDescription = SysAllocString(L"The help file does not exist");
            }
            return DISP_E_EXCEPTION;
        }
        if (result) {
            VariantInit(result);
            result->vt = VT_BOOL;
            result->boolVal = VARIANT_TRUE;
        }
        return S_OK;
    }
};

class DirectoryComponent final : public DispatchObject {
public:
    DirectoryComponent() : DispatchObject(IID_StandInDirectory) {}

    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS*,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        if (member != kHelpObjectMember)
            return DISP_E_MEMBERNOTFOUND;
        if (!result)
            return E_POINTER;
        VariantInit(result);
        auto* help = new (std::nothrow) HelpObject();
        if (!help)
            return E_OUTOFMEMORY;
        result->vt = VT_DISPATCH;
        result->pdispVal = help; // the reference made with it
        return S_OK;
    }
};

} // namespace

HRESULT CreateDirectoryComponent(const IID& iid, void** object) {
    return CreateStandIn<DirectoryComponent>(iid, object);
}
