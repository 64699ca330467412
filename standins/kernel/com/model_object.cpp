#include "com/model_object.h"

#include "com/attribute_object.h"
#include "com/class_object.h"
#include "com/class_vector_object.h"
#include "com/event_group_objects.h"
#include "com/event_objects.h"
#include "com/kernel_switches.h"
#include "com/model_storage.h"
#include "com/security_object.h"
#include "core/structure_file.h"

#include <algorithm>

namespace zk::com {

namespace {

// Load flag: bit 4 loads a structure of the server store by name, anything else a file.
constexpr LONG kLoadFromServer = 4;

std::wstring WideOf(BSTR text) {
    return text ? std::wstring(text, SysStringLen(text)) : L"";
}

Guid GuidArgument(BSTR text, const char* what) {
    std::string value = Utf8(text);
    if (value.empty())
        return Guid{};
    auto guid = GuidFromText(value);
    if (!guid)
        ThrowHr(E_INVALIDARG, std::string(what) + " '" + value + "' is not a GUID text");
    return *guid;
}

} // namespace

ComPtr<ClassObject> ModelObject::ClassFor(EntityId id) {
    structure_.Class(id);
    return classes_.Get(id, [&] { return MakeObject<ClassObject>(this, id); });
}

ComPtr<AttributeObject> ModelObject::AttributeFor(EntityId id) {
    structure_.Attribute(id);
    return attributes_.Get(id, [&] { return MakeObject<AttributeObject>(this, id); });
}

ComPtr<ClassVectorObject> ModelObject::ClassVector() {
    return vector_.Get(0, [&] { return MakeObject<ClassVectorObject>(this); });
}

ComPtr<EventItemObject> ModelObject::EventItemFor(EntityId id) {
    return event_items_.Get(id, [&] { return MakeObject<EventItemObject>(this, id); });
}

DWORD ModelObject::Advise(IDispatch* sink) {
    DWORD cookie = next_cookie_++;
    sinks_.emplace_back(cookie, sink);
    return cookie;
}

bool ModelObject::Unadvise(DWORD cookie) {
    auto found = std::find_if(sinks_.begin(), sinks_.end(),
                              [&](const auto& sink) { return sink.first == cookie; });
    if (found == sinks_.end())
        return false;
    sinks_.erase(found);
    return true;
}

void ModelObject::FireLinkEvent(DISPID id, EntityId parent, EntityId child) {
    if (sinks_.empty())
        return;
    ComPtr<ClassObject> parent_object = ClassFor(parent);
    ComPtr<ClassObject> child_object = ClassFor(child);
    // Positional arguments come last first: rgvarg[0] is clsChild, rgvarg[1] clsParent.
    VARIANT arguments[2];
    V_VT(&arguments[0]) = VT_DISPATCH;
    V_DISPATCH(&arguments[0]) = static_cast<IZClass*>(child_object.Get());
    V_VT(&arguments[1]) = VT_DISPATCH;
    V_DISPATCH(&arguments[1]) = static_cast<IZClass*>(parent_object.Get());
    DISPPARAMS params{arguments, nullptr, 2, 0};
    auto sinks = sinks_; // a sink may unadvise while it is called
    for (const auto& [cookie, sink] : sinks)
        sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                     nullptr);
}

HRESULT ModelObject::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IZModel))
        *out = static_cast<IZModel*>(this);
    else if (iid == __uuidof(IZModelAdmin))
        *out = static_cast<IZModelAdmin*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT ModelObject::zrGetClassVector(IZClassVector** vector) {
    return Barrier(__uuidof(IZModel), [&] { *Out(vector, nullptr) = ClassVector().Detach(); });
}

HRESULT ModelObject::zrLoadModel(BSTR path, IUnknown*, LONG flags) {
    return Barrier(__uuidof(IZModel), [&] {
        std::wstring name = WideOf(path);
        if (name.empty())
            ThrowHr(E_INVALIDARG, "no structure to load was named");
        ModelOrigin origin{(flags & kLoadFromServer) ? ServerStorePath(name) : name,
                           (flags & kLoadFromServer) != 0};
        Structure loaded;
        try {
            loaded = ReadStructureFile(ReadWholeFile(origin.path));
        } catch (const KernelError& error) {
            throw KernelError(error.kind(), "cannot load '" +
                                                Utf8(origin.path.data(), origin.path.size()) +
                                                "': " + error.what());
        }
        loaded.SetName(Utf8(origin.server ? name : FileNameOf(name)));
        loaded.SetModified(false);
        // Objects of the old content stay alive but answer that their entity is gone.
        structure_ = std::move(loaded);
        origin_ = std::move(origin);
    });
}

HRESULT ModelObject::zrSaveModel(BSTR path, IUnknown*) {
    return Barrier(__uuidof(IZModel), [&] {
        std::wstring target = WideOf(path);
        ModelOrigin origin = target.empty() ? origin_ : ModelOrigin{target, false};
        if (origin.path.empty())
            ThrowHr(E_INVALIDARG, "the model was never loaded or stored: name a file to store "
                                  "it to");
        std::string name = target.empty() ? structure_.Name() : Utf8(FileNameOf(target));
        Structure& s = structure_;
        std::string previous = s.Name();
        s.SetName(name);
        try {
            WriteWholeFile(origin.path, WriteStructureFile(s));
        } catch (...) {
            s.SetName(previous);
            throw;
        }
        s.SetModified(false);
        origin_ = std::move(origin);
    });
}

HRESULT ModelObject::get_zrModelName(BSTR* name) {
    return Barrier(__uuidof(IZModel), [&] { *Out(name, nullptr) = NewBstr(structure_.Name()); });
}

HRESULT ModelObject::put_zrModelName(BSTR name) {
    return Barrier(__uuidof(IZModelAdmin), [&] { structure_.SetName(Utf8(name)); });
}

HRESULT ModelObject::get_zrModified(VARIANT_BOOL* modified) {
    return Barrier(__uuidof(IZModel), [&] {
        *Out(modified, VARIANT_FALSE) = structure_.Modified() ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

HRESULT ModelObject::put_zrModified(VARIANT_BOOL modified) {
    return Barrier(__uuidof(IZModel), [&] { structure_.SetModified(modified != 0); });
}

HRESULT ModelObject::zrGetLocalSecurity(IZLocalSecurity** security) {
    return Barrier(__uuidof(IZModel), [&] {
        Out(security, nullptr);
        *security = security_.Get(0, [&] { return MakeObject<SecurityObject>(this); }).Detach();
    });
}

HRESULT ModelObject::zrGetEventCollection(IZEventCollection** events) {
    return Barrier(__uuidof(IZModel), [&] {
        Out(events, nullptr);
        *events = events_.Get(0, [&] { return MakeObject<EventCollectionObject>(this); }).Detach();
    });
}

HRESULT ModelObject::zrGetEventGroups(IUnknown** groups) {
    return Barrier(__uuidof(IZModel), [&] {
        Out(groups, nullptr);
        auto store = event_groups_.Get(0, [&] { return MakeObject<EventGroupStoreObject>(this); });
        *groups = static_cast<IZEventGroups*>(store.Detach());
    });
}

HRESULT ModelObject::zrAddGroup(BSTR id, BSTR name, LONG* group) {
    return Barrier(__uuidof(IZModelAdmin),
                   [&] { *Out(group, 0) = structure_.AddGroup(Utf8(id), Utf8(name)); });
}

HRESULT ModelObject::zrRemoveGroup(BSTR id) {
    return Barrier(__uuidof(IZModelAdmin), [&] { structure_.RemoveGroup(Utf8(id)); });
}

HRESULT ModelObject::zrAddEventItem(BSTR name, VARIANT_BOOL allow_changes) {
    return Barrier(__uuidof(IZModelAdmin),
                   [&] { structure_.AddEventItem(Utf8(name), allow_changes != 0); });
}

HRESULT ModelObject::zrAddEventHandler(BSTR group, BSTR owner, BSTR attribute, LONG kind,
                                       BSTR code) {
    return Barrier(__uuidof(IZModelAdmin), [&] {
        structure_.SetEventHandler(Utf8(group), GuidArgument(owner, "owner"),
                                   GuidArgument(attribute, "attribute"), kind, Utf8(code));
    });
}

HRESULT ModelObject::zrClassPosition(IZClass* cls, LONG* x, LONG* y) {
    return Barrier(__uuidof(IZModelAdmin), [&] {
        Out(x, 0);
        Out(y, 0);
        ClassObject* impl = ClassObject::FromInterface(cls);
        if (!impl || impl->model() != this)
            ThrowHr(E_INVALIDARG, "the class must be a class of this model");
        const ClassData& data = structure_.Class(impl->id());
        *x = data.x;
        *y = data.y;
    });
}

// The switches hold for the whole kernel, not this model alone (kernel_switches.h).
HRESULT ModelObject::zrSetHandlerOwnersAsTexts(VARIANT_BOOL texts) {
    kernel_switches.handler_owners_as_texts = texts != VARIANT_FALSE;
    return S_OK;
}

HRESULT ModelObject::zrSetNameLookupIgnoresCase(VARIANT_BOOL ignore) {
    kernel_switches.name_lookup_ignores_case = ignore != VARIANT_FALSE;
    return S_OK;
}

// The failure switch holds for the whole kernel too (call_failures.h); its own calls are not
// counted.
HRESULT ModelObject::zrSetCallFailure(LONG nth, LONG kind) {
    if (kind != 0 && kind != 1)
        return E_INVALIDARG;
    SetCallFailure(nth, kind == 1 ? CallFailure::NoObject : CallFailure::Error);
    return S_OK;
}

HRESULT ModelObject::get_zrCallCount(LONG* count) {
    if (!count)
        return E_POINTER;
    *count = CallsCounted();
    return S_OK;
}

HRESULT ModelObject::get_zrCalledInterfaces(VARIANT* iids) {
    return Barrier(__uuidof(IZModelAdmin), [&] {
        Out(iids, VARIANT{});
        const std::vector<IID> called = InterfacesCalled();
        SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(called.size()));
        if (!array)
            ThrowHr(E_OUTOFMEMORY, "no memory for the interfaces called");
        for (LONG index = 0; index < static_cast<LONG>(called.size()); ++index) {
            wchar_t text[40];
            StringFromGUID2(called[index], text, 40);
            Bstr item(SysAllocString(text));
            SafeArrayPutElement(array, &index, item.get());
        }
        V_VT(iids) = VT_ARRAY | VT_BSTR;
        V_ARRAY(iids) = array;
    });
}

} // namespace zk::com
