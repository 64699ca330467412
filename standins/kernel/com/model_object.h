// The model (class "zkernel.ZModel"): owns the structure, where it was loaded from, the link
// event sinks, and a cache that gives each entity exactly one COM object while that object
// lives. Every object it hands out holds a reference on the model.
#pragma once

#include "com/com_support.h"
#include "core/structure.h"

#include <zkernel.h>

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zk::com {

class ClassObject;
class AttributeObject;
class ClassVectorObject;
class SecurityObject;
class EventCollectionObject;
class EventItemObject;
class EventGroupStoreObject;

// Raw pointers to the live objects of one kind; an object removes itself when it dies.
template <class T> class ObjectCache {
public:
    template <class Make> ComPtr<T> Get(EntityId id, Make&& make) {
        auto found = objects_.find(id);
        if (found != objects_.end())
            return ComPtr<T>(found->second);
        ComPtr<T> created = make();
        objects_[id] = created.Get();
        return created;
    }
    void Forget(EntityId id, const T* object) {
        auto found = objects_.find(id);
        if (found != objects_.end() && found->second == object)
            objects_.erase(found);
    }

private:
    std::unordered_map<EntityId, T*> objects_;
};

// Where a model was loaded from or stored to: a file, or a structure of the server store.
struct ModelOrigin {
    std::wstring path; // empty: nowhere yet
    bool server = false;
};

class ModelObject final : public ComObjectBase,
                          public DispatchOf<IZModel>,
                          public DispatchOf<IZModelAdmin> {
public:
    ModelObject() = default;

    Structure& structure() { return structure_; }
    const ModelOrigin& origin() const { return origin_; }

    ComPtr<ClassObject> ClassFor(EntityId id);
    ComPtr<AttributeObject> AttributeFor(EntityId id);
    ComPtr<ClassVectorObject> ClassVector();
    ComPtr<EventItemObject> EventItemFor(EntityId id);
    void Forget(const ClassObject* object, EntityId id) { classes_.Forget(id, object); }
    void Forget(const AttributeObject* object, EntityId id) { attributes_.Forget(id, object); }
    void Forget(const ClassVectorObject* object) { vector_.Forget(0, object); }
    void Forget(const SecurityObject* object) { security_.Forget(0, object); }
    void Forget(const EventCollectionObject* object) { events_.Forget(0, object); }
    void Forget(const EventItemObject* object, EntityId id) { event_items_.Forget(id, object); }
    void Forget(const EventGroupStoreObject* object) { event_groups_.Forget(0, object); }

    // Link events: sinks of the class vector's connection point, kept by the model so that
    // they outlive any one reference to the vector.
    DWORD Advise(IDispatch* sink);
    const std::vector<std::pair<DWORD, ComPtr<IDispatch>>>& sinks() const { return sinks_; }
    bool Unadvise(DWORD cookie);
    void FireLinkEvent(DISPID id, EntityId parent, EntityId child);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ZK_REFERENCE_COUNTING

    // IZModel
    HRESULT STDMETHODCALLTYPE zrGetClassVector(IZClassVector** vector) override;
    HRESULT STDMETHODCALLTYPE zrLoadModel(BSTR path, IUnknown* cls, LONG flags) override;
    HRESULT STDMETHODCALLTYPE zrSaveModel(BSTR path, IUnknown* cls) override;
    HRESULT STDMETHODCALLTYPE get_zrModelName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_zrModified(VARIANT_BOOL* modified) override;
    HRESULT STDMETHODCALLTYPE put_zrModified(VARIANT_BOOL modified) override;
    HRESULT STDMETHODCALLTYPE zrGetLocalSecurity(IZLocalSecurity** security) override;
    HRESULT STDMETHODCALLTYPE zrGetEventCollection(IZEventCollection** events) override;
    HRESULT STDMETHODCALLTYPE zrGetEventGroups(IUnknown** groups) override;

    // IZModelAdmin
    HRESULT STDMETHODCALLTYPE zrAddGroup(BSTR id, BSTR name, LONG* group) override;
    HRESULT STDMETHODCALLTYPE zrRemoveGroup(BSTR id) override;
    HRESULT STDMETHODCALLTYPE zrAddEventItem(BSTR name, VARIANT_BOOL allow_changes) override;
    HRESULT STDMETHODCALLTYPE zrAddEventHandler(BSTR group, BSTR owner, BSTR attribute, LONG kind,
                                                BSTR code) override;
    HRESULT STDMETHODCALLTYPE put_zrModelName(BSTR name) override;
    HRESULT STDMETHODCALLTYPE zrClassPosition(IZClass* cls, LONG* x, LONG* y) override;
    HRESULT STDMETHODCALLTYPE zrSetHandlerOwnersAsTexts(VARIANT_BOOL texts) override;
    HRESULT STDMETHODCALLTYPE zrSetNameLookupIgnoresCase(VARIANT_BOOL ignore) override;
    HRESULT STDMETHODCALLTYPE zrSetCallFailure(LONG nth, LONG kind) override;
    HRESULT STDMETHODCALLTYPE get_zrCallCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE get_zrCalledInterfaces(VARIANT* iids) override;

private:
    Structure structure_;
    ModelOrigin origin_;
    std::vector<std::pair<DWORD, ComPtr<IDispatch>>> sinks_;
    DWORD next_cookie_ = 1;
    ObjectCache<ClassObject> classes_;
    ObjectCache<AttributeObject> attributes_;
    ObjectCache<ClassVectorObject> vector_;
    ObjectCache<SecurityObject> security_;
    ObjectCache<EventCollectionObject> events_;
    ObjectCache<EventItemObject> event_items_;
    ObjectCache<EventGroupStoreObject> event_groups_;
};

} // namespace zk::com
