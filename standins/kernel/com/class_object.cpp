#include "com/class_object.h"

#include "com/attribute_object.h"
#include "com/class_vector_object.h"
#include "com/name_lookup.h"

#include <cstring>

namespace zk::com {

namespace {

// The vtable of the IZClass part of every ClassObject, noted by the first one made.
const void* g_class_vtable = nullptr;

LONG Index(LONG index) {
    if (index < 0)
        ThrowHr(E_INVALIDARG, "a position must not be negative (" + std::to_string(index) + ")");
    return index;
}

} // namespace

ClassObject::ClassObject(ModelObject* model, EntityId id) : model_(model), id_(id) {
    g_class_vtable = *reinterpret_cast<void* const*>(static_cast<IZClass*>(this));
}

ClassObject::~ClassObject() {
    model_->Forget(this, id_);
}

bool ClassObject::IsOwnInterface(const IZClass* object) {
    return object && g_class_vtable && *reinterpret_cast<void* const*>(object) == g_class_vtable;
}

ClassObject* ClassObject::FromInterface(IUnknown* object) {
    if (!object)
        return nullptr;
    ComPtr<IZClass> cls;
    if (FAILED(object->QueryInterface(__uuidof(IZClass),
                                      reinterpret_cast<void**>(cls.GetAddressOf()))) ||
        !IsOwnInterface(cls.Get()))
        return nullptr;
    return static_cast<ClassObject*>(cls.Get()); // the caller's reference keeps it alive
}

HRESULT ClassObject::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IZClass))
        *out = static_cast<IZClass*>(this);
    else if (iid == __uuidof(IZObject))
        *out = static_cast<IZObject*>(this);
    else if (iid == __uuidof(IZClassPosition))
        *out = static_cast<IZClassPosition*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT ClassObject::get_zrName(BSTR* name) {
    return Barrier(__uuidof(IZClass), [&] { *Out(name, nullptr) = NewBstr(Data().name); });
}

HRESULT ClassObject::put_zrName(BSTR name) {
    return Barrier(__uuidof(IZClass), [&] { structure().RenameClass(id_, Utf8(name)); });
}

HRESULT ClassObject::get_zrScreenName(BSTR* name) {
    return Barrier(__uuidof(IZClass), [&] { *Out(name, nullptr) = NewBstr(Data().screen_name); });
}

HRESULT ClassObject::put_zrScreenName(BSTR name) {
    return Barrier(__uuidof(IZClass), [&] { structure().SetClassScreenName(id_, Utf8(name)); });
}

HRESULT ClassObject::get_zrBaseClass(IZClass** base) {
    return Barrier(__uuidof(IZClass), [&] {
        Out(base, nullptr);
        if (EntityId base_id = Data().base)
            *base = model_->ClassFor(base_id).Detach();
    });
}

HRESULT ClassObject::put_zrBaseClass(IZClass* base) {
    return Barrier(__uuidof(IZClass), [&] {
        Data(); // a removed class fails first
        EntityId base_id = 0;
        if (base) {
            ClassObject* impl = FromInterface(base);
            if (!impl)
                ThrowHr(E_INVALIDARG, "the base must be a class of this kernel or Nothing");
            if (impl->model_.Get() != model_.Get())
                ThrowHr(E_INVALIDARG, "the base class belongs to another model");
            base_id = impl->id_;
        }
        structure().SetBaseClass(id_, base_id);
    });
}

HRESULT ClassObject::get_zrBlocked(VARIANT_BOOL* blocked) {
    return Barrier(__uuidof(IZClass), [&] {
        *Out(blocked, VARIANT_FALSE) = Data().blocked ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

HRESULT ClassObject::put_zrBlocked(VARIANT_BOOL blocked) {
    return Barrier(__uuidof(IZClass), [&] { structure().SetClassBlocked(id_, blocked != 0); });
}

HRESULT ClassObject::get_zrGUID(GUID* guid) {
    return Barrier(__uuidof(IZClass), [&] { *Out(guid, GUID_NULL) = ToGUID(Data().guid); });
}

HRESULT ClassObject::put_zrGUID(GUID* guid) {
    return Barrier(__uuidof(IZObject),
                   [&] { structure().SetClassGuid(id_, ToGuid(Required(guid))); });
}

HRESULT ClassObject::zrGetSecurityKey(LONG* k0, LONG* k1, LONG* k2, LONG* k3) {
    return Barrier(__uuidof(IZClass), [&] {
        LONG* words[] = {Out(k0, 0), Out(k1, 0), Out(k2, 0), Out(k3, 0)};
        const auto& bytes = Data().guid.bytes;
        for (int i = 0; i < 4; ++i)
            std::memcpy(words[i], bytes.data() + 4 * i, 4);
    });
}

HRESULT ClassObject::get_zrClassVector(IZClassVector** vector) {
    return Barrier(__uuidof(IZClass), [&] {
        Out(vector, nullptr);
        Data();
        *vector = model_->ClassVector().Detach();
    });
}

HRESULT ClassObject::get_zrClassValuesCount(LONG* count) {
    return Barrier(__uuidof(IZClass),
                   [&] { *Out(count, 0) = static_cast<LONG>(Data().attributes.size()); });
}

HRESULT ClassObject::zriClassValueItem(LONG index, IZClassValue** cval) {
    return Barrier(__uuidof(IZClass), [&] {
        Out(cval, nullptr);
        EntityId entry = structure().AttributeAt(id_, static_cast<std::size_t>(Index(index)));
        *cval = model_->AttributeFor(entry).Detach();
    });
}

HRESULT ClassObject::zrnClassValueItem(BSTR name, IZClassValue** cval) {
    return Barrier(__uuidof(IZClass), [&] {
        Out(cval, nullptr);
        if (EntityId entry =
                structure().FindAttribute(id_, StoredAttributeName(structure(), id_, name)))
            *cval = model_->AttributeFor(entry).Detach();
    });
}

HRESULT ClassObject::zrAddClassValue(BSTR name, IZClassValue** cval) {
    return Barrier(__uuidof(IZClass), [&] {
        Out(cval, nullptr);
        *cval = model_
                    ->AttributeFor(
                        structure().AddAttribute(id_, StoredAttributeName(structure(), id_, name)))
                    .Detach();
    });
}

HRESULT ClassObject::zrRemoveClassValue(BSTR name) {
    return Barrier(__uuidof(IZClass), [&] {
        structure().RemoveAttribute(id_, StoredAttributeName(structure(), id_, name));
    });
}

HRESULT ClassObject::zrSwapClassValues(BSTR first, BSTR second) {
    return Barrier(__uuidof(IZClass), [&] {
        structure().SwapAttributes(id_, StoredAttributeName(structure(), id_, first),
                                   StoredAttributeName(structure(), id_, second));
    });
}

HRESULT ClassObject::get_zrChildClassesCount(LONG* count) {
    return Barrier(__uuidof(IZClass),
                   [&] { *Out(count, 0) = static_cast<LONG>(Data().children.size()); });
}

HRESULT ClassObject::zriChildClassItem(LONG index, IZClass** child) {
    return Barrier(__uuidof(IZClass), [&] {
        Out(child, nullptr);
        const auto& children = Data().children;
        if (static_cast<std::size_t>(Index(index)) >= children.size())
            ThrowHr(E_INVALIDARG, "child position " + std::to_string(index) +
                                      " is out of range (class '" + Data().name + "' has " +
                                      std::to_string(children.size()) + " children)");
        *child = model_->ClassFor(children[static_cast<std::size_t>(index)]).Detach();
    });
}

HRESULT ClassObject::zrnChildClassItem(BSTR name, IZClass** child) {
    return Barrier(__uuidof(IZClass), [&] {
        Out(child, nullptr);
        if (EntityId found = structure().FindChild(id_, StoredClassName(structure(), name)))
            *child = model_->ClassFor(found).Detach();
    });
}

HRESULT ClassObject::zrAddChildClass(BSTR name) {
    return Barrier(__uuidof(IZClass), [&] {
        if (EntityId child = structure().AddLink(id_, StoredClassName(structure(), name)))
            model_->FireLinkEvent(1, id_, child);
    });
}

HRESULT ClassObject::zrRemoveChildClass(BSTR name) {
    return Barrier(__uuidof(IZClass), [&] {
        if (EntityId child = structure().RemoveLink(id_, StoredClassName(structure(), name)))
            model_->FireLinkEvent(2, id_, child);
    });
}

HRESULT ClassObject::zrAssign(IUnknown* source, LONG from, LONG count) {
    return Barrier(__uuidof(IZClass), [&] {
        if (from != 0 || count != -1)
            ThrowHr(E_INVALIDARG, "only a whole class can be assigned (from 0, count -1)");
        ClassObject* impl = FromInterface(source);
        if (!impl)
            ThrowHr(E_INVALIDARG, "the source must be a class of this kernel");
        structure().AssignClass(id_, impl->model_->structure(), impl->id_);
    });
}

HRESULT ClassObject::GetPosition(LONG* x, LONG* y) {
    return Barrier(__uuidof(IZClassPosition), [&] {
        Out(x, 0);
        Out(y, 0);
        *x = Data().x;
        *y = Data().y;
    });
}

HRESULT ClassObject::SetPosition(LONG x, LONG y) {
    return Barrier(__uuidof(IZClassPosition), [&] { structure().SetClassPosition(id_, x, y); });
}

} // namespace zk::com
