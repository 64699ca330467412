#include "com/attribute_object.h"

#include "com/class_object.h"
#include "com/variant_values.h"

#include <cstring>

namespace zk::com {

namespace {

// The vtable of the IZClassValue part of every AttributeObject, noted by the first one made.
const void* g_attribute_vtable = nullptr;

VARIANT_BOOL Bool(bool value) {
    return value ? VARIANT_TRUE : VARIANT_FALSE;
}

} // namespace

AttributeObject::AttributeObject(ModelObject* model, EntityId id) : model_(model), id_(id) {
    g_attribute_vtable = *reinterpret_cast<void* const*>(static_cast<IZClassValue*>(this));
}

AttributeObject::~AttributeObject() {
    model_->Forget(this, id_);
}

bool AttributeObject::IsOwnInterface(const IZClassValue* object) {
    return object && g_attribute_vtable &&
           *reinterpret_cast<void* const*>(object) == g_attribute_vtable;
}

AttributeObject* AttributeObject::FromInterface(IUnknown* object) {
    if (!object)
        return nullptr;
    ComPtr<IZClassValue> cval;
    if (FAILED(object->QueryInterface(__uuidof(IZClassValue),
                                      reinterpret_cast<void**>(cval.GetAddressOf()))) ||
        !IsOwnInterface(cval.Get()))
        return nullptr;
    return static_cast<AttributeObject*>(cval.Get()); // the caller's reference keeps it alive
}

HRESULT AttributeObject::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IZClassValue))
        *out = static_cast<IZClassValue*>(this);
    else if (iid == __uuidof(IZProperties))
        *out = static_cast<IZProperties*>(this);
    else if (iid == __uuidof(IZObject))
        *out = static_cast<IZObject*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

// Writes one field of the declaring attribute.
template <class Body> HRESULT AttributeObject::Edit(Body&& edit) {
    return Barrier(__uuidof(IZClassValue), [&] { structure().EditAttribute(id_, edit); });
}

#define ZK_TEXT_FIELD(Name, field)                                                                 \
    HRESULT AttributeObject::get_##Name(BSTR* value) {                                             \
        return Barrier(__uuidof(IZClassValue),                                                     \
                       [&] { *Out(value, nullptr) = NewBstr(Data().field); });                     \
    }                                                                                              \
    HRESULT AttributeObject::put_##Name(BSTR value) {                                              \
        return Edit([&](AttributeData& data) { data.field = Utf8(value); });                       \
    }

#define ZK_NUMBER_FIELD(Name, field)                                                               \
    HRESULT AttributeObject::get_##Name(LONG* value) {                                             \
        return Barrier(__uuidof(IZClassValue), [&] { *Out(value, 0) = Data().field; });            \
    }                                                                                              \
    HRESULT AttributeObject::put_##Name(LONG value) {                                              \
        return Edit([&](AttributeData& data) { data.field = value; });                             \
    }

#define ZK_FLAG_FIELD(Name, field)                                                                 \
    HRESULT AttributeObject::get_##Name(VARIANT_BOOL* value) {                                     \
        return Barrier(__uuidof(IZClassValue),                                                     \
                       [&] { *Out(value, VARIANT_FALSE) = Bool(Data().field); });                  \
    }                                                                                              \
    HRESULT AttributeObject::put_##Name(VARIANT_BOOL value) {                                      \
        return Edit([&](AttributeData& data) { data.field = value != 0; });                        \
    }

ZK_TEXT_FIELD(zrScreenName, screen_name)
ZK_TEXT_FIELD(zrAliasName, alias_name)
ZK_TEXT_FIELD(zrGroup, group)
ZK_TEXT_FIELD(zrFunctionCode, function_code)
ZK_TEXT_FIELD(zrMeasureUnit, measure_unit)
ZK_TEXT_FIELD(zrMeasureEntity, measure_entity)
ZK_NUMBER_FIELD(zrType, type)
ZK_NUMBER_FIELD(zrPrecision, precision)
ZK_FLAG_FIELD(zrBlocked, blocked)
ZK_FLAG_FIELD(zrForbidInput, forbid_input)

HRESULT AttributeObject::get_zrName(BSTR* name) {
    return Barrier(__uuidof(IZClassValue), [&] { *Out(name, nullptr) = NewBstr(Data().name); });
}

HRESULT AttributeObject::put_zrName(BSTR name) {
    return Barrier(__uuidof(IZClassValue), [&] { structure().RenameAttribute(id_, Utf8(name)); });
}

HRESULT AttributeObject::get_zrDataType(GUID* type) {
    return Barrier(__uuidof(IZClassValue),
                   [&] { *Out(type, GUID_NULL) = ToGUID(Data().data_type); });
}

HRESULT AttributeObject::put_zrDataType(GUID* type) {
    return Barrier(__uuidof(IZClassValue), [&] {
        Guid value = ToGuid(Required(type));
        structure().EditAttribute(id_, [&](AttributeData& data) { data.data_type = value; });
    });
}

HRESULT AttributeObject::get_zrProperties(IZProperties** props) {
    return Barrier(__uuidof(IZClassValue), [&] {
        Out(props, nullptr);
        Data();
        AddRef();
        *props = static_cast<IZProperties*>(this);
    });
}

HRESULT AttributeObject::get_zrInheritedFrom(IZClassValue** source) {
    return Barrier(__uuidof(IZClassValue), [&] {
        Out(source, nullptr);
        if (EntityId from = structure().Attribute(id_).inherited_from)
            *source = model_->AttributeFor(from).Detach();
    });
}

HRESULT AttributeObject::put_zrInheritedFrom(IZClassValue* source) {
    return Barrier(__uuidof(IZClassValue), [&] {
        EntityId current = structure().Attribute(id_).inherited_from;
        if (!source) {
            structure().MakeOwn(id_);
            return;
        }
        AttributeObject* impl = FromInterface(source);
        if (!impl || impl->model_.Get() != model_.Get() || impl->id_ != current)
            ThrowHr(E_INVALIDARG, "an attribute can only be made its class's own (assign Nothing)");
    });
}

HRESULT AttributeObject::get_zrOwnerClass(IZClass** owner) {
    return Barrier(__uuidof(IZClassValue), [&] {
        Out(owner, nullptr);
        *owner = model_->ClassFor(structure().Attribute(id_).owner).Detach();
    });
}

HRESULT AttributeObject::get_zrGUID(GUID* guid) {
    return Barrier(__uuidof(IZClassValue), [&] { *Out(guid, GUID_NULL) = ToGUID(Data().guid); });
}

HRESULT AttributeObject::put_zrGUID(GUID* guid) {
    return Barrier(__uuidof(IZObject),
                   [&] { structure().SetAttributeGuid(id_, ToGuid(Required(guid))); });
}

HRESULT AttributeObject::zrGetSecurityKey(LONG* k0, LONG* k1, LONG* k2, LONG* k3) {
    return Barrier(__uuidof(IZClassValue), [&] {
        LONG* words[] = {Out(k0, 0), Out(k1, 0), Out(k2, 0), Out(k3, 0)};
        const auto& bytes = Data().guid.bytes;
        for (int i = 0; i < 4; ++i)
            std::memcpy(words[i], bytes.data() + 4 * i, 4);
    });
}

HRESULT AttributeObject::zrAssign(IUnknown* source, LONG from, LONG count) {
    return Barrier(__uuidof(IZClassValue), [&] {
        if (from != 0 || count != -1)
            ThrowHr(E_INVALIDARG, "only a whole attribute can be assigned (from 0, count -1)");
        AttributeObject* impl = FromInterface(source);
        if (!impl)
            ThrowHr(E_INVALIDARG, "the source must be an attribute of this kernel");
        structure().AssignAttribute(id_, impl->Data());
    });
}

HRESULT AttributeObject::get_zrCount(LONG* count) {
    return Barrier(__uuidof(IZProperties),
                   [&] { *Out(count, 0) = static_cast<LONG>(Data().properties.Count()); });
}

HRESULT AttributeObject::zrPropItem(LONG index, BSTR* name, VARIANT* value) {
    return Barrier(__uuidof(IZProperties), [&] {
        Out(name, nullptr);
        if (!value)
            ThrowHr(E_POINTER, "an output argument is missing");
        VariantInit(value);
        if (index < 0)
            ThrowHr(E_INVALIDARG, "a position must not be negative");
        const auto& [key, stored] = Data().properties.At(static_cast<std::size_t>(index));
        Bstr text(NewBstr(key));
        VariantFromValue(stored, value);
        *name = text.Detach();
    });
}

HRESULT AttributeObject::zrPropValue(BSTR name, VARIANT* value) {
    return Barrier(__uuidof(IZProperties), [&] {
        if (!value)
            ThrowHr(E_POINTER, "an output argument is missing");
        VariantInit(value);
        if (const Value* stored = Data().properties.Find(Utf8(name)))
            VariantFromValue(*stored, value);
    });
}

HRESULT AttributeObject::zrAddProp(BSTR name, VARIANT value) {
    return Barrier(__uuidof(IZProperties), [&] {
        std::string key = Utf8(name);
        if (key.empty())
            ThrowHr(E_INVALIDARG, "a property name must not be empty");
        Value stored = ValueFromVariant(value);
        structure().EditAttribute(
            id_, [&](AttributeData& data) { data.properties.Set(key, std::move(stored)); });
    });
}

HRESULT AttributeObject::zrRemoveProp(BSTR name) {
    return Barrier(__uuidof(IZProperties), [&] {
        std::string key = Utf8(name);
        if (Data().properties.Find(key))
            structure().EditAttribute(id_,
                                      [&](AttributeData& data) { data.properties.Remove(key); });
    });
}

} // namespace zk::com
