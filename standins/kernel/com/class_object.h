// A class of the structure: IZClass, its diagram position (IZClassPosition) and its identifier
// (IZObject). The object names its class by entity id; once the class is removed every call
// fails with a message saying so.
#pragma once

#include "com/model_object.h"

namespace zk::com {

class ClassObject final : public ComObjectBase,
                          public DispatchOf<IZClass>,
                          public DispatchOf<IZObject>,
                          public IZClassPosition {
public:
    ClassObject(ModelObject* model, EntityId id);
    ~ClassObject() override;

    // The kernel's own class behind an interface pointer, or null for anything else (checked
    // by the vtable, so a foreign object is never taken for ours).
    static ClassObject* FromInterface(IUnknown* object);
    static bool IsOwnInterface(const IZClass* object);
    ModelObject* model() const { return model_.Get(); }
    EntityId id() const { return id_; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ZK_REFERENCE_COUNTING

    // IZClass
    HRESULT STDMETHODCALLTYPE get_zrName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE put_zrName(BSTR name) override;
    HRESULT STDMETHODCALLTYPE get_zrScreenName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE put_zrScreenName(BSTR name) override;
    HRESULT STDMETHODCALLTYPE get_zrBaseClass(IZClass** base) override;
    HRESULT STDMETHODCALLTYPE put_zrBaseClass(IZClass* base) override;
    HRESULT STDMETHODCALLTYPE get_zrBlocked(VARIANT_BOOL* blocked) override;
    HRESULT STDMETHODCALLTYPE put_zrBlocked(VARIANT_BOOL blocked) override;
    HRESULT STDMETHODCALLTYPE get_zrGUID(GUID* guid) override; // also IZObject's
    HRESULT STDMETHODCALLTYPE zrGetSecurityKey(LONG* k0, LONG* k1, LONG* k2, LONG* k3) override;
    HRESULT STDMETHODCALLTYPE get_zrClassVector(IZClassVector** vector) override;
    HRESULT STDMETHODCALLTYPE get_zrClassValuesCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE zriClassValueItem(LONG index, IZClassValue** cval) override;
    HRESULT STDMETHODCALLTYPE zrnClassValueItem(BSTR name, IZClassValue** cval) override;
    HRESULT STDMETHODCALLTYPE zrAddClassValue(BSTR name, IZClassValue** cval) override;
    HRESULT STDMETHODCALLTYPE zrRemoveClassValue(BSTR name) override;
    HRESULT STDMETHODCALLTYPE zrSwapClassValues(BSTR first, BSTR second) override;
    HRESULT STDMETHODCALLTYPE get_zrChildClassesCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE zriChildClassItem(LONG index, IZClass** child) override;
    HRESULT STDMETHODCALLTYPE zrnChildClassItem(BSTR name, IZClass** child) override;
    HRESULT STDMETHODCALLTYPE zrAddChildClass(BSTR name) override;
    HRESULT STDMETHODCALLTYPE zrRemoveChildClass(BSTR name) override;
    HRESULT STDMETHODCALLTYPE zrAssign(IUnknown* source, LONG from, LONG count) override;

    // IZObject
    HRESULT STDMETHODCALLTYPE put_zrGUID(GUID* guid) override;

    // IZClassPosition
    HRESULT STDMETHODCALLTYPE GetPosition(LONG* x, LONG* y) override;
    HRESULT STDMETHODCALLTYPE SetPosition(LONG x, LONG y) override;

private:
    const ClassData& Data() const { return model_->structure().Class(id_); }
    Structure& structure() { return model_->structure(); }

    ComPtr<ModelObject> model_;
    EntityId id_;
};

} // namespace zk::com
