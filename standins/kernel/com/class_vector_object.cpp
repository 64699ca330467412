#include "com/class_vector_object.h"

#include "com/class_object.h"
#include "com/connection_enumerators.h"
#include "com/name_lookup.h"

namespace zk::com {

namespace {

std::size_t Position(LONG index) {
    if (index < 0)
        ThrowHr(E_INVALIDARG, "a position must not be negative (" + std::to_string(index) + ")");
    return static_cast<std::size_t>(index);
}

VARIANT_BOOL Bool(bool value) {
    return value ? VARIANT_TRUE : VARIANT_FALSE;
}

} // namespace

HRESULT ClassVectorObject::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IZClassVector))
        *out = static_cast<IZClassVector*>(this);
    else if (iid == __uuidof(IZFilterVector))
        *out = static_cast<IZFilterVector*>(this);
    else if (iid == IID_IConnectionPointContainer)
        *out = static_cast<IConnectionPointContainer*>(this);
    else if (iid == IID_IConnectionPoint)
        *out = static_cast<IConnectionPoint*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT ClassVectorObject::zrAdd(BSTR name, IZClass** cls) {
    return Barrier(__uuidof(IZClassVector), [&] {
        Out(cls, nullptr);
        *cls = model_->ClassFor(structure().AddClass(StoredClassName(structure(), name))).Detach();
    });
}

HRESULT ClassVectorObject::zrRemove(BSTR name) {
    return Barrier(__uuidof(IZClassVector),
                   [&] { structure().RemoveClass(StoredClassName(structure(), name)); });
}

HRESULT ClassVectorObject::zrItem(LONG index, IZClass** cls) {
    return Barrier(__uuidof(IZClassVector), [&] {
        Out(cls, nullptr);
        *cls = model_->ClassFor(structure().ClassAt(Position(index))).Detach();
    });
}

HRESULT ClassVectorObject::get_zrCount(LONG* count) {
    return Barrier(__uuidof(IZClassVector),
                   [&] { *Out(count, 0) = static_cast<LONG>(structure().ClassCount()); });
}

HRESULT ClassVectorObject::zrLocate(BSTR name, IZClass** cls) {
    return Barrier(__uuidof(IZClassVector), [&] {
        Out(cls, nullptr);
        if (EntityId id = structure().FindClass(StoredClassName(structure(), name)))
            *cls = model_->ClassFor(id).Detach();
    });
}

HRESULT ClassVectorObject::zrLocateByGUID(GUID* guid, IZClass** cls) {
    return Barrier(__uuidof(IZClassVector), [&] {
        Out(cls, nullptr);
        if (EntityId id = structure().FindClassByGuid(ToGuid(Required(guid))))
            *cls = model_->ClassFor(id).Detach();
    });
}

HRESULT ClassVectorObject::get_zrModel(IZModel** model) {
    return Barrier(__uuidof(IZClassVector), [&] {
        Out(model, nullptr);
        model_->AddRef();
        *model = static_cast<IZModel*>(model_.Get());
    });
}

HRESULT ClassVectorObject::get_zrFilterVector(IZFilterVector** filters) {
    return Barrier(__uuidof(IZClassVector), [&] {
        Out(filters, nullptr);
        AddRef();
        *filters = static_cast<IZFilterVector*>(this);
    });
}

HRESULT ClassVectorObject::get_zrPatchFunction(BSTR name, BSTR* text) {
    return Barrier(__uuidof(IZClassVector), [&] {
        Out(text, nullptr);
        const Module* module = structure().FindModule(Utf8(name));
        *text = NewBstr(module ? std::string_view(module->text) : std::string_view());
    });
}

HRESULT ClassVectorObject::put_zrPatchFunction(BSTR name, BSTR text) {
    return Barrier(__uuidof(IZClassVector), [&] { structure().SetModule(Utf8(name), Utf8(text)); });
}

HRESULT ClassVectorObject::zrRemovePatchFunction(BSTR name) {
    return Barrier(__uuidof(IZClassVector), [&] { structure().RemoveModule(Utf8(name)); });
}

HRESULT ClassVectorObject::zrPatchFunctionName(LONG index, BSTR* name) {
    return Barrier(__uuidof(IZClassVector), [&] {
        Out(name, nullptr);
        std::size_t position = Position(index);
        *name = NewBstr(position < structure().ModuleCount()
                            ? std::string_view(structure().ModuleAt(position).name)
                            : std::string_view());
    });
}

HRESULT ClassVectorObject::get_zrFiltersCount(LONG* count) {
    return Barrier(__uuidof(IZFilterVector),
                   [&] { *Out(count, 0) = static_cast<LONG>(structure().FilterCount()); });
}

HRESULT ClassVectorObject::zrFilterName(LONG index, BSTR* name) {
    return Barrier(__uuidof(IZFilterVector), [&] {
        Out(name, nullptr);
        *name = NewBstr(structure().FilterAt(Position(index)).name);
    });
}

HRESULT ClassVectorObject::zrFilterCaption(LONG index, BSTR* caption) {
    return Barrier(__uuidof(IZFilterVector), [&] {
        Out(caption, nullptr);
        *caption = NewBstr(structure().FilterAt(Position(index)).caption);
    });
}

HRESULT ClassVectorObject::zrFilterExists(BSTR name, VARIANT_BOOL* exists) {
    return Barrier(__uuidof(IZFilterVector), [&] {
        *Out(exists, VARIANT_FALSE) =
            Bool(structure().FindFilter(StoredFilterName(structure(), name)) != nullptr);
    });
}

HRESULT ClassVectorObject::zrCreateFilterEx(BSTR name, BSTR caption) {
    return Barrier(__uuidof(IZFilterVector), [&] {
        structure().CreateFilter(StoredFilterName(structure(), name), Utf8(caption));
    });
}

HRESULT ClassVectorObject::zrRemoveFilter(BSTR name) {
    return Barrier(__uuidof(IZFilterVector),
                   [&] { structure().RemoveFilter(StoredFilterName(structure(), name)); });
}

HRESULT ClassVectorObject::zrConstraintsCount(BSTR filter, LONG* count) {
    return Barrier(__uuidof(IZFilterVector), [&] {
        Out(count, 0);
        if (const Filter* found = structure().FindFilter(StoredFilterName(structure(), filter)))
            *count = static_cast<LONG>(found->constraints.size());
    });
}

HRESULT ClassVectorObject::zrConstraintItem(BSTR filter, LONG index, BSTR* value) {
    return Barrier(__uuidof(IZFilterVector), [&] {
        Out(value, nullptr);
        std::string name = StoredFilterName(structure(), filter);
        const Filter* found = structure().FindFilter(name);
        std::size_t position = Position(index);
        if (!found || position >= found->constraints.size())
            ThrowHr(E_INVALIDARG, "filter '" + name + "' has no constraint at position " +
                                      std::to_string(position));
        *value = NewBstr(found->constraints[position]);
    });
}

HRESULT ClassVectorObject::zrConstraintExists(BSTR filter, BSTR value, VARIANT_BOOL* exists) {
    return Barrier(__uuidof(IZFilterVector), [&] {
        Out(exists, VARIANT_FALSE);
        const Filter* found = structure().FindFilter(StoredFilterName(structure(), filter));
        *exists = Bool(found && found->constraint_set.contains(Utf8(value)));
    });
}

HRESULT ClassVectorObject::zrAddConstraint(BSTR filter, BSTR value) {
    return Barrier(__uuidof(IZFilterVector), [&] {
        structure().AddConstraint(StoredFilterName(structure(), filter), Utf8(value));
    });
}

HRESULT ClassVectorObject::zrRemoveConstraint(BSTR filter, BSTR value) {
    return Barrier(__uuidof(IZFilterVector), [&] {
        structure().RemoveConstraint(StoredFilterName(structure(), filter), Utf8(value));
    });
}

HRESULT ClassVectorObject::EnumConnectionPoints(IEnumConnectionPoints** points) {
    return Barrier(IID_IConnectionPointContainer, [&] {
        *Out(points, nullptr) =
            EnumerateConnectionPoints(static_cast<IConnectionPoint*>(this)).Detach();
    });
}

HRESULT ClassVectorObject::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point)
        return E_POINTER;
    *point = nullptr;
    if (iid != DIID_IZClassVectorEvents)
        return CONNECT_E_NOCONNECTION;
    AddRef();
    *point = static_cast<IConnectionPoint*>(this);
    return S_OK;
}

HRESULT ClassVectorObject::GetConnectionInterface(IID* iid) {
    if (!iid)
        return E_POINTER;
    *iid = DIID_IZClassVectorEvents;
    return S_OK;
}

HRESULT ClassVectorObject::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container)
        return E_POINTER;
    AddRef();
    *container = static_cast<IConnectionPointContainer*>(this);
    return S_OK;
}

HRESULT ClassVectorObject::Advise(IUnknown* sink, DWORD* cookie) {
    return Barrier(IID_IConnectionPoint, [&] {
        Out(cookie, 0);
        if (!sink)
            ThrowHr(E_POINTER, "no event sink given");
        ComPtr<IDispatch> events;
        if (FAILED(sink->QueryInterface(DIID_IZClassVectorEvents,
                                        reinterpret_cast<void**>(events.GetAddressOf()))) &&
            FAILED(sink->QueryInterface(IID_IDispatch,
                                        reinterpret_cast<void**>(events.GetAddressOf()))))
            ThrowHr(CONNECT_E_CANNOTCONNECT, "the sink answers neither IZClassVectorEvents "
                                             "nor IDispatch");
        *cookie = model_->Advise(events.Get());
    });
}

HRESULT ClassVectorObject::Unadvise(DWORD cookie) {
    if (!model_->Unadvise(cookie)) {
        SetErrorMessage(IID_IConnectionPoint, "no connection has that cookie");
        return CONNECT_E_NOCONNECTION;
    }
    return S_OK;
}

HRESULT ClassVectorObject::EnumConnections(IEnumConnections** connections) {
    return Barrier(IID_IConnectionPoint, [&] {
        Out(connections, nullptr);
        std::vector<CONNECTDATA> data;
        for (const auto& [cookie, sink] : model_->sinks())
            data.push_back(CONNECTDATA{sink.Get(), cookie});
        *connections = EnumerateConnections(data).Detach();
    });
}

} // namespace zk::com
