#include "com/security_object.h"

namespace zk::com {

HRESULT SecurityObject::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IZLocalSecurity)) {
        *out = static_cast<IZLocalSecurity*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT SecurityObject::zrNextGroup(LONG group, LONG* next) {
    return Barrier(__uuidof(IZLocalSecurity),
                   [&] { *Out(next, 0) = model_->structure().NextGroup(group); });
}

HRESULT SecurityObject::zrGroupByID(BSTR id, LONG* group) {
    return Barrier(__uuidof(IZLocalSecurity), [&] {
        Out(group, 0);
        if (const Group* found = model_->structure().FindGroupById(Utf8(id)))
            *group = found->handle;
    });
}

HRESULT SecurityObject::zrGroupAttribute(LONG group, LONG, LONG attribute, VARIANT* value) {
    return Barrier(__uuidof(IZLocalSecurity), [&] {
        if (!value)
            ThrowHr(E_POINTER, "an output argument is missing");
        VariantInit(value);
        const Group* found = model_->structure().FindGroupByHandle(group);
        if (!found)
            ThrowHr(E_INVALIDARG, "group handle " + std::to_string(group) + " names no group");
        if (attribute != 1 && attribute != 2)
            ThrowHr(E_INVALIDARG, "group attribute " + std::to_string(attribute) +
                                      " does not exist (1 is the name, 2 the identifier)");
        V_BSTR(value) = NewBstr(attribute == 1 ? found->name : found->id);
        V_VT(value) = VT_BSTR;
    });
}

HRESULT SecurityObject::zrGetRights(LONG group, GUID* key, LONG* rights) {
    return Barrier(__uuidof(IZLocalSecurity), [&] {
        if (!rights)
            ThrowHr(E_POINTER, "the rights argument is missing");
        // In and out: a missing entry leaves the caller's value.
        if (auto found = model_->structure().GetRights(group, ToGuid(Required(key))))
            *rights = *found;
    });
}

HRESULT SecurityObject::zrSetRights(LONG group, GUID* key, LONG rights) {
    return Barrier(__uuidof(IZLocalSecurity),
                   [&] { model_->structure().SetRights(group, ToGuid(Required(key)), rights); });
}

HRESULT SecurityObject::zrRemoveRights(LONG group, GUID* key) {
    return Barrier(__uuidof(IZLocalSecurity),
                   [&] { model_->structure().RemoveRights(group, ToGuid(Required(key))); });
}

} // namespace zk::com
