// A model whose kernel calls fail, with error information, as a broken or disconnected kernel
// answers: for the export's error path.
#pragma once

#include <windows.h>

#include <zkernel.h>

#include <string>

namespace export_test {

class FailingModel final : public IZModel {
public:
    explicit FailingModel(std::wstring message) : message_(std::move(message)) {}

    // IUnknown; the object lives on the test's stack.
    HRESULT __stdcall QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IZModel)
            return E_NOINTERFACE;
        *object = static_cast<IZModel*>(this);
        return S_OK;
    }
    ULONG __stdcall AddRef() override { return 2; }
    ULONG __stdcall Release() override { return 1; }

    // IDispatch: not needed by C++ callers.
    HRESULT __stdcall GetTypeInfoCount(UINT* count) override { return E_NOTIMPL; }
    HRESULT __stdcall GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT __stdcall GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT __stdcall Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                             UINT*) override {
        return E_NOTIMPL;
    }

    // IZModel: every call fails.
    HRESULT __stdcall zrGetClassVector(IZClassVector** vector) override {
        *vector = nullptr;
        return Fail();
    }
    HRESULT __stdcall zrLoadModel(BSTR, IUnknown*, LONG) override { return Fail(); }
    HRESULT __stdcall zrSaveModel(BSTR, IUnknown*) override { return Fail(); }
    HRESULT __stdcall get_zrModelName(BSTR* name) override {
        *name = nullptr;
        return Fail();
    }
    HRESULT __stdcall get_zrModified(VARIANT_BOOL*) override { return Fail(); }
    HRESULT __stdcall put_zrModified(VARIANT_BOOL) override { return Fail(); }
    HRESULT __stdcall zrGetLocalSecurity(IZLocalSecurity** security) override {
        *security = nullptr;
        return Fail();
    }
    HRESULT __stdcall zrGetEventCollection(IZEventCollection** events) override {
        *events = nullptr;
        return Fail();
    }
    HRESULT __stdcall zrGetEventGroups(IUnknown** groups) override {
        *groups = nullptr;
        return Fail();
    }

private:
    HRESULT Fail() {
        ICreateErrorInfo* create = nullptr;
        if (SUCCEEDED(CreateErrorInfo(&create))) {
            create->SetDescription(const_cast<LPOLESTR>(message_.c_str()));
            IErrorInfo* info = nullptr;
            if (SUCCEEDED(create->QueryInterface(IID_PPV_ARGS(&info)))) {
                SetErrorInfo(0, info);
                info->Release();
            }
            create->Release();
        }
        return E_FAIL;
    }

    std::wstring message_;
};

} // namespace export_test
