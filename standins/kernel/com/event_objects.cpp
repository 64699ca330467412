#include "com/event_objects.h"

namespace zk::com {

HRESULT EventCollectionObject::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IZEventCollection)) {
        *out = static_cast<IZEventCollection*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT EventCollectionObject::get_zrCount(LONG* count) {
    return Barrier(__uuidof(IZEventCollection), [&] {
        *Out(count, 0) = static_cast<LONG>(model_->structure().EventItemCount());
    });
}

HRESULT EventCollectionObject::zrItem(LONG index, IZEventItem** item) {
    return Barrier(__uuidof(IZEventCollection), [&] {
        Out(item, nullptr);
        if (index < 0)
            ThrowHr(E_INVALIDARG, "a position must not be negative");
        EntityId id = model_->structure().EventItemAt(static_cast<std::size_t>(index)).id;
        *item = model_->EventItemFor(id).Detach();
    });
}

HRESULT EventItemObject::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IZEventItem)) {
        *out = static_cast<IZEventItem*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT EventItemObject::get_zrName(BSTR* name) {
    return Barrier(__uuidof(IZEventItem), [&] {
        *Out(name, nullptr) = NewBstr(model_->structure().EventItemById(id_).name);
    });
}

HRESULT EventItemObject::get_zrAllowChanges(VARIANT_BOOL* allow) {
    return Barrier(__uuidof(IZEventItem), [&] {
        *Out(allow, VARIANT_FALSE) =
            model_->structure().EventItemById(id_).allow_changes ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

HRESULT EventItemObject::put_zrAllowChanges(VARIANT_BOOL allow) {
    return Barrier(__uuidof(IZEventItem),
                   [&] { model_->structure().SetAllowChanges(id_, allow != 0); });
}

} // namespace zk::com
