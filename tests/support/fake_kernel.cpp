#include "support/fake_kernel.h"

#include <olectl.h>

using Microsoft::WRL::ComPtr;

namespace {

template <class T> HRESULT NoObject(T** out) {
    if (out)
        *out = nullptr;
    return E_NOTIMPL;
}

constexpr DWORD kCookie = 41;

} // namespace

// --- FakeClassVector --------------------------------------------------------------------------

ComPtr<FakeClassVector> FakeClassVector::Create() {
    ComPtr<FakeClassVector> vector;
    *vector.ReleaseAndGetAddressOf() = new FakeClassVector;
    return vector;
}

HRESULT FakeClassVector::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IZClassVector))
        *object = static_cast<IZClassVector*>(this);
    else if (iid == IID_IConnectionPointContainer)
        *object = static_cast<IConnectionPointContainer*>(this);
    else if (iid == IID_IConnectionPoint)
        *object = static_cast<IConnectionPoint*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG FakeClassVector::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG FakeClassVector::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT FakeClassVector::GetTypeInfoCount(UINT* count) {
    if (count)
        *count = 0;
    return S_OK;
}
HRESULT FakeClassVector::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    return NoObject(info);
}
HRESULT FakeClassVector::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}
HRESULT FakeClassVector::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                UINT*) {
    return E_NOTIMPL;
}

HRESULT FakeClassVector::zrAdd(BSTR, IZClass** cls) {
    return NoObject(cls);
}
HRESULT FakeClassVector::zrRemove(BSTR) {
    return E_NOTIMPL;
}
HRESULT FakeClassVector::zrItem(LONG, IZClass** cls) {
    return NoObject(cls);
}
HRESULT FakeClassVector::get_zrCount(LONG* count) {
    if (count)
        *count = 0;
    return E_NOTIMPL;
}
HRESULT FakeClassVector::zrLocate(BSTR, IZClass** cls) {
    return NoObject(cls);
}
HRESULT FakeClassVector::zrLocateByGUID(GUID*, IZClass** cls) {
    return NoObject(cls);
}
HRESULT FakeClassVector::get_zrModel(IZModel** model) {
    return NoObject(model);
}
HRESULT FakeClassVector::get_zrFilterVector(IZFilterVector** filters) {
    return NoObject(filters);
}
HRESULT FakeClassVector::get_zrPatchFunction(BSTR, BSTR* text) {
    ++moduleReads;
    if (text)
        *text = nullptr;
    return E_FAIL;
}
HRESULT FakeClassVector::put_zrPatchFunction(BSTR, BSTR) {
    return E_NOTIMPL;
}
HRESULT FakeClassVector::zrRemovePatchFunction(BSTR) {
    return E_NOTIMPL;
}
HRESULT FakeClassVector::zrPatchFunctionName(LONG, BSTR* name) {
    return NoObject(name);
}

HRESULT FakeClassVector::EnumConnectionPoints(IEnumConnectionPoints** points) {
    return NoObject(points);
}

HRESULT FakeClassVector::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point)
        return E_POINTER;
    *point = nullptr;
    if (iid != DIID_IZClassVectorEvents)
        return CONNECT_E_NOCONNECTION;
    *point = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

HRESULT FakeClassVector::GetConnectionInterface(IID* iid) {
    if (!iid)
        return E_POINTER;
    *iid = DIID_IZClassVectorEvents;
    return S_OK;
}

HRESULT FakeClassVector::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container)
        return E_POINTER;
    *container = static_cast<IConnectionPointContainer*>(this);
    AddRef();
    return S_OK;
}

HRESULT FakeClassVector::Advise(IUnknown* newSink, DWORD* cookie) {
    if (!newSink || !cookie)
        return E_POINTER;
    ++advises;
    sink = newSink;
    *cookie = kCookie;
    return S_OK;
}

HRESULT FakeClassVector::Unadvise(DWORD cookie) {
    if (cookie != kCookie || !sink)
        return CONNECT_E_NOCONNECTION;
    ++unadvises;
    sink.Reset();
    return S_OK;
}

HRESULT FakeClassVector::EnumConnections(IEnumConnections** connections) {
    return NoObject(connections);
}

// --- FakeModel --------------------------------------------------------------------------------

ComPtr<FakeModel> FakeModel::Create(HRESULT classVectorStatus, IZClassVector* classVector) {
    ComPtr<FakeModel> model;
    *model.ReleaseAndGetAddressOf() = new FakeModel;
    model->classVectorStatus_ = classVectorStatus;
    model->classVector_ = classVector;
    return model;
}

HRESULT FakeModel::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != __uuidof(IZModel))
        return E_NOINTERFACE;
    *object = static_cast<IZModel*>(this);
    AddRef();
    return S_OK;
}

ULONG FakeModel::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG FakeModel::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT FakeModel::GetTypeInfoCount(UINT* count) {
    if (count)
        *count = 0;
    return S_OK;
}
HRESULT FakeModel::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    return NoObject(info);
}
HRESULT FakeModel::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}
HRESULT FakeModel::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

HRESULT FakeModel::zrGetClassVector(IZClassVector** vector) {
    if (!vector)
        return E_POINTER;
    *vector = nullptr;
    if (FAILED(classVectorStatus_))
        return classVectorStatus_;
    return classVector_.CopyTo(vector);
}

HRESULT FakeModel::zrLoadModel(BSTR, IUnknown*, LONG) {
    return E_NOTIMPL;
}
HRESULT FakeModel::zrSaveModel(BSTR, IUnknown*) {
    return E_NOTIMPL;
}
HRESULT FakeModel::get_zrModelName(BSTR* name) {
    return NoObject(name);
}
HRESULT FakeModel::get_zrModified(VARIANT_BOOL* modified) {
    if (modified)
        *modified = VARIANT_FALSE;
    return E_NOTIMPL;
}
HRESULT FakeModel::put_zrModified(VARIANT_BOOL) {
    return E_NOTIMPL;
}
HRESULT FakeModel::zrGetLocalSecurity(IZLocalSecurity** security) {
    NoObject(security);
    return otherObjectsStatus_;
}
HRESULT FakeModel::zrGetEventCollection(IZEventCollection** events) {
    NoObject(events);
    return otherObjectsStatus_;
}
HRESULT FakeModel::zrGetEventGroups(IUnknown** groups) {
    NoObject(groups);
    return otherObjectsStatus_;
}
