// The class vector of a model: its classes (IZClassVector), filters (IZFilterVector), global
// modules, and the connection point of the link events (IZClassVectorEvents).
#pragma once

#include "com/model_object.h"

#include <ocidl.h>
#include <olectl.h>

namespace zk::com {

class ClassVectorObject final : public ComObjectBase,
                                public DispatchOf<IZClassVector>,
                                public DispatchOf<IZFilterVector>,
                                public IConnectionPointContainer,
                                public IConnectionPoint {
public:
    explicit ClassVectorObject(ModelObject* model) : model_(model) {}
    ~ClassVectorObject() override { model_->Forget(this); }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ZK_REFERENCE_COUNTING

    // IZClassVector
    HRESULT STDMETHODCALLTYPE zrAdd(BSTR name, IZClass** cls) override;
    HRESULT STDMETHODCALLTYPE zrRemove(BSTR name) override;
    HRESULT STDMETHODCALLTYPE zrItem(LONG index, IZClass** cls) override;
    HRESULT STDMETHODCALLTYPE get_zrCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE zrLocate(BSTR name, IZClass** cls) override;
    HRESULT STDMETHODCALLTYPE zrLocateByGUID(GUID* guid, IZClass** cls) override;
    HRESULT STDMETHODCALLTYPE get_zrModel(IZModel** model) override;
    HRESULT STDMETHODCALLTYPE get_zrFilterVector(IZFilterVector** filters) override;
    HRESULT STDMETHODCALLTYPE get_zrPatchFunction(BSTR name, BSTR* text) override;
    HRESULT STDMETHODCALLTYPE put_zrPatchFunction(BSTR name, BSTR text) override;
    HRESULT STDMETHODCALLTYPE zrRemovePatchFunction(BSTR name) override;
    HRESULT STDMETHODCALLTYPE zrPatchFunctionName(LONG index, BSTR* name) override;

    // IZFilterVector
    HRESULT STDMETHODCALLTYPE get_zrFiltersCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE zrFilterName(LONG index, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE zrFilterCaption(LONG index, BSTR* caption) override;
    HRESULT STDMETHODCALLTYPE zrFilterExists(BSTR name, VARIANT_BOOL* exists) override;
    HRESULT STDMETHODCALLTYPE zrCreateFilterEx(BSTR name, BSTR caption) override;
    HRESULT STDMETHODCALLTYPE zrRemoveFilter(BSTR name) override;
    HRESULT STDMETHODCALLTYPE zrConstraintsCount(BSTR filter, LONG* count) override;
    HRESULT STDMETHODCALLTYPE zrConstraintItem(BSTR filter, LONG index, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE zrConstraintExists(BSTR filter, BSTR value,
                                                 VARIANT_BOOL* exists) override;
    HRESULT STDMETHODCALLTYPE zrAddConstraint(BSTR filter, BSTR value) override;
    HRESULT STDMETHODCALLTYPE zrRemoveConstraint(BSTR filter, BSTR value) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // IConnectionPoint (of IZClassVectorEvents)
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

private:
    Structure& structure() { return model_->structure(); }

    ComPtr<ModelObject> model_;
};

} // namespace zk::com
