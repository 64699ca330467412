// The event-group store of a model (IZEventGroups) and its groups (IZEventGroup). The groups
// live in the stored structure: zrRefresh rereads them from the file the model came from,
// and a group's zrSave writes it back into that file (also after the model itself was stored)
// and into the model, so a later store of the model keeps it.
#pragma once

#include "com/model_object.h"

#include <optional>
#include <vector>

namespace zk::com {

class EventGroupStoreObject final : public ComObjectBase, public IZEventGroups {
public:
    explicit EventGroupStoreObject(ModelObject* model) : model_(model) {}
    ~EventGroupStoreObject() override { model_->Forget(this); }

    // Writes one group into the stored structure and into the model.
    void Save(const EventGroup& group);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ZK_REFERENCE_COUNTING

    HRESULT STDMETHODCALLTYPE zrRefresh() override;
    HRESULT STDMETHODCALLTYPE zrLocateEventGroup(BSTR name, IZEventGroup** group) override;

private:
    const std::wstring& StoredFile() const;

    ComPtr<ModelObject> model_;
    std::optional<std::vector<EventGroup>> refreshed_; // none: the model's own groups
};

// A working copy of one group; changes reach the store with zrSave.
class EventGroupObject final : public ComObjectBase, public IZEventGroup {
public:
    EventGroupObject(EventGroupStoreObject* store, EventGroup group)
        : store_(store), group_(std::move(group)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ZK_REFERENCE_COUNTING

    HRESULT STDMETHODCALLTYPE get_zrName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_zrHandlerOwners(VARIANT* owners) override;
    HRESULT STDMETHODCALLTYPE get_zrHandlerCode(GUID owner, GUID attribute, LONG kind,
                                                BSTR* code) override;
    HRESULT STDMETHODCALLTYPE put_zrHandlerCode(GUID owner, GUID attribute, LONG kind,
                                                BSTR code) override;
    HRESULT STDMETHODCALLTYPE zrSave() override;

private:
    ComPtr<EventGroupStoreObject> store_;
    EventGroup group_;
};

} // namespace zk::com
