#include "com/event_group_objects.h"

#include "com/kernel_switches.h"
#include "com/model_storage.h"
#include "core/structure_file.h"

namespace zk::com {

namespace {

// Owns a SAFEARRAY until it is handed over.
class SafeArrayOwner {
public:
    explicit SafeArrayOwner(SAFEARRAY* array) : array_(array) {
        if (!array_)
            throw std::bad_alloc();
    }
    SafeArrayOwner(const SafeArrayOwner&) = delete;
    SafeArrayOwner& operator=(const SafeArrayOwner&) = delete;
    ~SafeArrayOwner() {
        if (array_)
            SafeArrayDestroy(array_);
    }
    SAFEARRAY* get() const { return array_; }
    SAFEARRAY* Detach() { return std::exchange(array_, nullptr); }

private:
    SAFEARRAY* array_;
};

std::string GuidColumn(const Guid& guid) {
    return guid.IsNull() ? "" : GuidText(guid);
}

} // namespace

HRESULT EventGroupStoreObject::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == __uuidof(IZEventGroups)) {
        *out = static_cast<IZEventGroups*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

const std::wstring& EventGroupStoreObject::StoredFile() const {
    const std::wstring& path = model_->origin().path;
    if (path.empty())
        ThrowHr(E_FAIL, "the model has not been loaded from or stored to a structure yet");
    return path;
}

HRESULT EventGroupStoreObject::zrRefresh() {
    return Barrier(__uuidof(IZEventGroups),
                   [&] { refreshed_ = ReadEventGroups(ReadWholeFile(StoredFile())); });
}

HRESULT EventGroupStoreObject::zrLocateEventGroup(BSTR name, IZEventGroup** group) {
    return Barrier(__uuidof(IZEventGroups), [&] {
        Out(group, nullptr);
        std::string wanted = Utf8(name);
        const auto& groups = refreshed_ ? *refreshed_ : model_->structure().EventGroups();
        for (const auto& candidate : groups)
            if (candidate.name == wanted) {
                *group = MakeObject<EventGroupObject>(this, candidate).Detach();
                return;
            }
    });
}

void EventGroupStoreObject::Save(const EventGroup& group) {
    const std::wstring& path = StoredFile();
    WriteWholeFile(path, ReplaceEventGroup(ReadWholeFile(path), group));
    Structure& structure = model_->structure();
    bool modified = structure.Modified(); // the stored structure has the group already
    structure.SetEventGroup(group);
    structure.SetModified(modified);
    if (refreshed_) {
        for (auto& existing : *refreshed_)
            if (existing.name == group.name) {
                existing = group;
                return;
            }
        refreshed_->push_back(group);
    }
}

HRESULT EventGroupObject::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == __uuidof(IZEventGroup)) {
        *out = static_cast<IZEventGroup*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT EventGroupObject::get_zrName(BSTR* name) {
    return Barrier(__uuidof(IZEventGroup), [&] { *Out(name, nullptr) = NewBstr(group_.name); });
}

HRESULT EventGroupObject::get_zrHandlerOwners(VARIANT* owners) {
    return Barrier(__uuidof(IZEventGroup), [&] {
        if (!owners)
            ThrowHr(E_POINTER, "an output argument is missing");
        VariantInit(owners);
        auto rows = HandlerOwners(group_);
        // Cells are variants holding texts, or texts themselves when the kernel is so switched.
        const VARTYPE cells = kernel_switches.handler_owners_as_texts.load() ? VT_BSTR : VT_VARIANT;
        // [rows, 2]: the first index is the row, the second the column.
        SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(rows.size()), 0}, {2, 0}};
        SafeArrayOwner array(SafeArrayCreate(cells, 2, bounds));
        for (LONG row = 0; row < static_cast<LONG>(rows.size()); ++row) {
            const Guid* columns[2] = {&rows[row].first, &rows[row].second};
            for (LONG column = 0; column < 2; ++column) {
                VARIANT cell;
                VariantInit(&cell);
                V_VT(&cell) = VT_BSTR;
                V_BSTR(&cell) = NewBstr(GuidColumn(*columns[column]));
                LONG index[2] = {row, column};
                // Both forms copy what they are given.
                HRESULT hr = SafeArrayPutElement(
                    array.get(), index,
                    cells == VT_BSTR ? static_cast<void*>(V_BSTR(&cell)) : &cell);
                VariantClear(&cell);
                Check(hr, "filling the handler owners");
            }
        }
        V_ARRAY(owners) = array.Detach();
        V_VT(owners) = VT_ARRAY | cells;
    });
}

HRESULT EventGroupObject::get_zrHandlerCode(GUID owner, GUID attribute, LONG kind, BSTR* code) {
    return Barrier(__uuidof(IZEventGroup), [&] {
        *Out(code, nullptr) = NewBstr(HandlerCode(group_, ToGuid(owner), ToGuid(attribute), kind));
    });
}

HRESULT EventGroupObject::put_zrHandlerCode(GUID owner, GUID attribute, LONG kind, BSTR code) {
    return Barrier(__uuidof(IZEventGroup), [&] {
        SetHandlerCode(group_, ToGuid(owner), ToGuid(attribute), kind, Utf8(code));
    });
}

HRESULT EventGroupObject::zrSave() {
    return Barrier(__uuidof(IZEventGroup), [&] { store_->Save(group_); });
}

} // namespace zk::com
