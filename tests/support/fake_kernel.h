// Kernel objects that misbehave on purpose, for what the stand-in never does: a model whose
// class vector cannot be had, a class vector whose module texts cannot be read, and a
// connection point that hands the advised event sink to the test so that it can raise events
// with any argument layout.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <zkernel.h>

#include <wrl/client.h>

class FakeClassVector final : public IZClassVector,
                              public IConnectionPointContainer,
                              public IConnectionPoint {
public:
    static Microsoft::WRL::ComPtr<FakeClassVector> Create();

    // What the library did with it.
    int moduleReads = 0;
    int advises = 0;
    int unadvises = 0;
    Microsoft::WRL::ComPtr<IUnknown> sink; // the advised sink, until it is unadvised

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;
    // IZClassVector: everything fails, the module text read included.
    HRESULT STDMETHODCALLTYPE zrAdd(BSTR, IZClass** cls) override;
    HRESULT STDMETHODCALLTYPE zrRemove(BSTR) override;
    HRESULT STDMETHODCALLTYPE zrItem(LONG, IZClass** cls) override;
    HRESULT STDMETHODCALLTYPE get_zrCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE zrLocate(BSTR, IZClass** cls) override;
    HRESULT STDMETHODCALLTYPE zrLocateByGUID(GUID*, IZClass** cls) override;
    HRESULT STDMETHODCALLTYPE get_zrModel(IZModel** model) override;
    HRESULT STDMETHODCALLTYPE get_zrFilterVector(IZFilterVector** filters) override;
    HRESULT STDMETHODCALLTYPE get_zrPatchFunction(BSTR, BSTR* text) override;
    HRESULT STDMETHODCALLTYPE put_zrPatchFunction(BSTR, BSTR) override;
    HRESULT STDMETHODCALLTYPE zrRemovePatchFunction(BSTR) override;
    HRESULT STDMETHODCALLTYPE zrPatchFunctionName(LONG, BSTR* name) override;
    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;
    // IConnectionPoint
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

private:
    FakeClassVector() = default;
    ~FakeClassVector() = default;
    LONG references_ = 1;
};

// A model whose zrGetClassVector answers the given status and vector (success with no vector, for
// a kernel that answers nothing). Its other objects are not implemented, unless the test makes
// them answered as success with nothing too.
class FakeModel final : public IZModel {
public:
    static Microsoft::WRL::ComPtr<FakeModel> Create(HRESULT classVectorStatus,
                                                    IZClassVector* classVector);

    // The security object, the event collection and the event groups: S_OK and null.
    void AnswerNullObjects() { otherObjectsStatus_ = S_OK; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;
    HRESULT STDMETHODCALLTYPE zrGetClassVector(IZClassVector** vector) override;
    HRESULT STDMETHODCALLTYPE zrLoadModel(BSTR, IUnknown*, LONG) override;
    HRESULT STDMETHODCALLTYPE zrSaveModel(BSTR, IUnknown*) override;
    HRESULT STDMETHODCALLTYPE get_zrModelName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_zrModified(VARIANT_BOOL* modified) override;
    HRESULT STDMETHODCALLTYPE put_zrModified(VARIANT_BOOL) override;
    HRESULT STDMETHODCALLTYPE zrGetLocalSecurity(IZLocalSecurity** security) override;
    HRESULT STDMETHODCALLTYPE zrGetEventCollection(IZEventCollection** events) override;
    HRESULT STDMETHODCALLTYPE zrGetEventGroups(IUnknown** groups) override;

private:
    FakeModel() = default;
    ~FakeModel() = default;
    LONG references_ = 1;
    HRESULT classVectorStatus_ = E_FAIL;
    HRESULT otherObjectsStatus_ = E_NOTIMPL;
    Microsoft::WRL::ComPtr<IZClassVector> classVector_;
};
