// An entry of a class's attribute list: IZClassValue, its properties (IZProperties) and its
// identifier (IZObject). Reads and writes of an inherited entry reach the declaring attribute.
#pragma once

#include "com/model_object.h"

namespace zk::com {

class AttributeObject final : public ComObjectBase,
                              public DispatchOf<IZClassValue>,
                              public DispatchOf<IZProperties>,
                              public DispatchOf<IZObject> {
public:
    AttributeObject(ModelObject* model, EntityId id);
    ~AttributeObject() override;

    // The kernel's own attribute behind an interface pointer (checked by the vtable), or null.
    static AttributeObject* FromInterface(IUnknown* object);
    static bool IsOwnInterface(const IZClassValue* object);
    ModelObject* model() const { return model_.Get(); }
    EntityId id() const { return id_; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ZK_REFERENCE_COUNTING

    // IZClassValue
    HRESULT STDMETHODCALLTYPE get_zrName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE put_zrName(BSTR name) override;
    HRESULT STDMETHODCALLTYPE get_zrType(LONG* type) override;
    HRESULT STDMETHODCALLTYPE put_zrType(LONG type) override;
    HRESULT STDMETHODCALLTYPE get_zrDataType(GUID* type) override;
    HRESULT STDMETHODCALLTYPE put_zrDataType(GUID* type) override;
    HRESULT STDMETHODCALLTYPE get_zrScreenName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE put_zrScreenName(BSTR name) override;
    HRESULT STDMETHODCALLTYPE get_zrAliasName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE put_zrAliasName(BSTR name) override;
    HRESULT STDMETHODCALLTYPE get_zrGroup(BSTR* group) override;
    HRESULT STDMETHODCALLTYPE put_zrGroup(BSTR group) override;
    HRESULT STDMETHODCALLTYPE get_zrFunctionCode(BSTR* code) override;
    HRESULT STDMETHODCALLTYPE put_zrFunctionCode(BSTR code) override;
    HRESULT STDMETHODCALLTYPE get_zrBlocked(VARIANT_BOOL* blocked) override;
    HRESULT STDMETHODCALLTYPE put_zrBlocked(VARIANT_BOOL blocked) override;
    HRESULT STDMETHODCALLTYPE get_zrMeasureUnit(BSTR* unit) override;
    HRESULT STDMETHODCALLTYPE put_zrMeasureUnit(BSTR unit) override;
    HRESULT STDMETHODCALLTYPE get_zrMeasureEntity(BSTR* entity) override;
    HRESULT STDMETHODCALLTYPE put_zrMeasureEntity(BSTR entity) override;
    HRESULT STDMETHODCALLTYPE get_zrForbidInput(VARIANT_BOOL* forbid) override;
    HRESULT STDMETHODCALLTYPE put_zrForbidInput(VARIANT_BOOL forbid) override;
    HRESULT STDMETHODCALLTYPE get_zrPrecision(LONG* precision) override;
    HRESULT STDMETHODCALLTYPE put_zrPrecision(LONG precision) override;
    HRESULT STDMETHODCALLTYPE get_zrProperties(IZProperties** props) override;
    HRESULT STDMETHODCALLTYPE get_zrInheritedFrom(IZClassValue** source) override;
    HRESULT STDMETHODCALLTYPE put_zrInheritedFrom(IZClassValue* source) override;
    HRESULT STDMETHODCALLTYPE get_zrOwnerClass(IZClass** owner) override;
    HRESULT STDMETHODCALLTYPE get_zrGUID(GUID* guid) override; // also IZObject's
    HRESULT STDMETHODCALLTYPE zrGetSecurityKey(LONG* k0, LONG* k1, LONG* k2, LONG* k3) override;
    HRESULT STDMETHODCALLTYPE zrAssign(IUnknown* source, LONG from, LONG count) override;

    // IZProperties
    HRESULT STDMETHODCALLTYPE get_zrCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE zrPropItem(LONG index, BSTR* name, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE zrPropValue(BSTR name, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE zrAddProp(BSTR name, VARIANT value) override;
    HRESULT STDMETHODCALLTYPE zrRemoveProp(BSTR name) override;

    // IZObject
    HRESULT STDMETHODCALLTYPE put_zrGUID(GUID* guid) override;

private:
    const AttributeData& Data() const { return model_->structure().Declaring(id_); }
    Structure& structure() { return model_->structure(); }
    template <class Body> HRESULT Edit(Body&& edit);

    ComPtr<ModelObject> model_;
    EntityId id_;
};

} // namespace zk::com
