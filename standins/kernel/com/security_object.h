// The model's user groups and their rights (IZLocalSecurity).
#pragma once

#include "com/model_object.h"

namespace zk::com {

class SecurityObject final : public ComObjectBase, public DispatchOf<IZLocalSecurity> {
public:
    explicit SecurityObject(ModelObject* model) : model_(model) {}
    ~SecurityObject() override { model_->Forget(this); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ZK_REFERENCE_COUNTING

    HRESULT STDMETHODCALLTYPE zrNextGroup(LONG group, LONG* next) override;
    HRESULT STDMETHODCALLTYPE zrGroupByID(BSTR id, LONG* group) override;
    HRESULT STDMETHODCALLTYPE zrGroupAttribute(LONG group, LONG reserved, LONG attribute,
                                               VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE zrGetRights(LONG group, GUID* key, LONG* rights) override;
    HRESULT STDMETHODCALLTYPE zrSetRights(LONG group, GUID* key, LONG rights) override;
    HRESULT STDMETHODCALLTYPE zrRemoveRights(LONG group, GUID* key) override;

private:
    ComPtr<ModelObject> model_;
};

} // namespace zk::com
