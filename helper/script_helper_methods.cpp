// The methods of IZScriptHelper. The eleven small ones swallow every error (a failed cast, a
// kernel failure, a text that is no GUID): the change is simply not made and S_OK returned. The
// import and the rights copy report theirs.
#include "helper/script_helper.h"

#include "helper/import_frame.h"
#include "helper/rights_copy.h"
#include "kernel/kernel_reads.h"
#include "kernel/security_key.h"
#include "platform/guid_conversion.h"

#include "platform/barriers.h"
#include "platform/com_owners.h"

namespace kv {

using Microsoft::WRL::ComPtr;

namespace {

// The object as the interface asked for; raises when it is nil or does not support it.
template <class Interface> ComPtr<Interface> CastTo(IUnknown* object) {
    if (!object)
        throw LibraryError(E_POINTER, L"Объект не задан");
    ComPtr<Interface> cast;
    check(object->QueryInterface(IID_PPV_ARGS(&cast)));
    return cast;
}

std::wstring_view TextOf(BSTR text) {
    return {text, SysStringLen(text)};
}

// Sets an [out, retval] text to "" before any work; false when the caller gave no place.
bool StartEmpty(BSTR* result) {
    if (!result)
        return false;
    *result = SysAllocString(L"");
    return true;
}

void Replace(BSTR* result, std::wstring_view text) {
    BSTR value = AllocateBstr(text);
    SysFreeString(*result);
    *result = value;
}

} // namespace

HRESULT TZScriptHelper::zsSetCValDataType(IUnknown* cval, BSTR s_guid) {
    if (!cval)
        return S_OK;
    return SwallowingBarrier([&] {
        const ComPtr<IZClassValue> attribute = CastTo<IZClassValue>(cval);
        GUID data_type = GuidFromText(TextOf(s_guid));
        check(attribute->put_zrDataType(&data_type));
    });
}

HRESULT TZScriptHelper::zsClearRights(IUnknown* item, IUnknown* loc_sec) {
    if (!loc_sec)
        return S_OK;
    return SwallowingBarrier([&] {
        std::optional<GUID> key = SecurityKeyOf(item);
        if (!key)
            return;
        const ComPtr<IZLocalSecurity> security = CastTo<IZLocalSecurity>(loc_sec);
        LONG group = 0;
        for (;;) {
            check(security->zrNextGroup(group, &group));
            if (group == 0)
                break;
            check(security->zrRemoveRights(group, &*key));
        }
    });
}

HRESULT TZScriptHelper::zsGiveRights(IUnknown* item, INT rights, BSTR group_id, IUnknown* loc_sec) {
    if (!loc_sec)
        return S_OK;
    return SwallowingBarrier([&] {
        std::optional<GUID> key = SecurityKeyOf(item);
        if (!key)
            return;
        const ComPtr<IZLocalSecurity> security = CastTo<IZLocalSecurity>(loc_sec);
        // The handle goes on untested: what an unknown group means is the kernel's business.
        LONG group = 0;
        check(security->zrGroupByID(group_id, &group));
        check(security->zrSetRights(group, &*key, rights));
    });
}

HRESULT TZScriptHelper::zsPropName(IUnknown* props, LONG item, BSTR* val) {
    if (!StartEmpty(val))
        return E_POINTER;
    if (!props)
        return S_OK;
    return SwallowingBarrier([&] {
        const ComPtr<IZProperties> properties = CastTo<IZProperties>(props);
        Bstr name;
        Variant value; // read with the name, not used
        check(properties->zrPropItem(item, name.Out(), value.Out()));
        Replace(val, name.View());
    });
}

HRESULT TZScriptHelper::zsSetCoors(IUnknown* cls, LONG x, LONG y) {
    return SwallowingBarrier([&] {
        const ComPtr<IZClassPosition> position = CastTo<IZClassPosition>(cls);
        position->SetPosition(x, y); // the kernel's answer is not tested
    });
}

HRESULT TZScriptHelper::zsSetClassGUID(IUnknown* cls, BSTR guid) {
    if (!cls)
        return S_OK;
    return SwallowingBarrier([&] {
        const ComPtr<IZClass> target = CastTo<IZClass>(cls);
        abuse_model_->SetClassGUID(target.Get(), GuidFromText(TextOf(guid)));
    });
}

HRESULT TZScriptHelper::zsSetClassValueGUID(IUnknown* cval, BSTR guid) {
    if (!cval)
        return S_OK;
    return SwallowingBarrier([&] {
        const ComPtr<IZClassValue> target = CastTo<IZClassValue>(cval);
        abuse_model_->SetClassValueGUID(target.Get(), GuidFromText(TextOf(guid)));
    });
}

HRESULT TZScriptHelper::zsCopyObjGUID(IUnknown* obj_from, IUnknown* obj_to) {
    if (!obj_from || !obj_to)
        return S_OK;
    return SwallowingBarrier([&] {
        const ComPtr<IZObject> source = CastTo<IZObject>(obj_from);
        const ComPtr<IZObject> target = CastTo<IZObject>(obj_to);
        GUID guid;
        check(source->get_zrGUID(&guid));
        check(target->put_zrGUID(&guid));
    });
}

HRESULT TZScriptHelper::zsImportAppendedToSvr(BSTR struct_distr, BSTR struct_user_serv,
                                              VARIANT_BOOL mark_appended, BSTR* Value) {
    if (!StartEmpty(Value))
        return E_POINTER;
    return ReportingBarrier(IID_IZScriptHelper, ScriptHelperProgId, [&] {
        const std::wstring report = kv::import::ImportAppendedToServer(
            std::wstring(TextOf(struct_distr)), std::wstring(TextOf(struct_user_serv)),
            mark_appended != VARIANT_FALSE);
        Replace(Value, report);
    });
}

HRESULT TZScriptHelper::zsCopyModelRights(BSTR src_group, BSTR dst_group) {
    return ReportingBarrier(IID_IZScriptHelper, ScriptHelperProgId, [&] {
        kv::import::CopyModelRights(TextOf(src_group), TextOf(dst_group));
    });
}

HRESULT TZScriptHelper::zsAllowChangesByEvents(IDispatch* mdl, VARIANT_BOOL Value) {
    if (!mdl)
        return S_OK;
    return SwallowingBarrier([&] {
        const ComPtr<IZModel> model = CastTo<IZModel>(mdl);
        ComPtr<IZEventCollection> events;
        check(model->zrGetEventCollection(&events));
        events = Required(std::move(events), L"zrGetEventCollection");
        LONG count = 0;
        check(events->get_zrCount(&count));
        for (LONG index = 0; index < count; ++index) {
            // The item calls' answers are not tested; a missing item is skipped.
            ComPtr<IZEventItem> event;
            events->zrItem(index, &event);
            if (event)
                event->put_zrAllowChanges(Value);
        }
    });
}

HRESULT TZScriptHelper::zsRemoveRights(IUnknown* item, BSTR group_id, IUnknown* loc_sec) {
    if (!loc_sec)
        return S_OK;
    return SwallowingBarrier([&] {
        std::optional<GUID> key = SecurityKeyOf(item);
        if (!key)
            return;
        const ComPtr<IZLocalSecurity> security = CastTo<IZLocalSecurity>(loc_sec);
        LONG group = 0;
        check(security->zrGroupByID(group_id, &group));
        check(security->zrRemoveRights(group, &*key));
    });
}

HRESULT TZScriptHelper::zsClassValueGUIDasStr(IUnknown* cval, BSTR* Value) {
    if (!StartEmpty(Value))
        return E_POINTER;
    return SwallowingBarrier([&] {
        ComPtr<IZClassValue> attribute;
        if (!cval || FAILED(cval->QueryInterface(IID_PPV_ARGS(&attribute))))
            return;
        GUID guid;
        check(attribute->get_zrGUID(&guid));
        Replace(Value, WideGuidText(guid));
    });
}

} // namespace kv
