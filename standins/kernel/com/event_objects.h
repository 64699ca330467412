// The model's event collection (IZEventCollection) and its items (IZEventItem).
#pragma once

#include "com/model_object.h"

namespace zk::com {

class EventCollectionObject final : public ComObjectBase, public DispatchOf<IZEventCollection> {
public:
    explicit EventCollectionObject(ModelObject* model) : model_(model) {}
    ~EventCollectionObject() override { model_->Forget(this); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ZK_REFERENCE_COUNTING

    HRESULT STDMETHODCALLTYPE get_zrCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE zrItem(LONG index, IZEventItem** item) override;

private:
    ComPtr<ModelObject> model_;
};

class EventItemObject final : public ComObjectBase, public DispatchOf<IZEventItem> {
public:
    EventItemObject(ModelObject* model, EntityId id) : model_(model), id_(id) {}
    ~EventItemObject() override { model_->Forget(this, id_); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ZK_REFERENCE_COUNTING

    HRESULT STDMETHODCALLTYPE get_zrName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_zrAllowChanges(VARIANT_BOOL* allow) override;
    HRESULT STDMETHODCALLTYPE put_zrAllowChanges(VARIANT_BOOL allow) override;

private:
    ComPtr<ModelObject> model_;
    EntityId id_;
};

} // namespace zk::com
