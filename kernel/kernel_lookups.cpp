#include "kernel/kernel_lookups.h"

#include "kernel/kernel_reads.h"

namespace kv {

namespace {

// The object that one kernel call gives (null for "absent"), e.g.
// Lookup<IZClass>([&](IZClass** found) { return classes->zrItem(0, found); }).
template <class Object, class Call> ComPtr<Object> Lookup(Call&& call) {
    ComPtr<Object> found;
    check(call(found.ReleaseAndGetAddressOf()));
    return found;
}

// The same, a failing call counting as "absent"; its error information must not linger.
template <class Object, class Call> ComPtr<Object> LookupOrNone(Call&& call) {
    ComPtr<Object> found;
    if (FAILED(call(found.ReleaseAndGetAddressOf()))) {
        SetErrorInfo(0, nullptr);
        return nullptr;
    }
    return found;
}

template <class Object, class Getter> LONG CountOf(Object* object, Getter get) {
    LONG count = 0;
    check((object->*get)(&count));
    return count;
}

} // namespace

ComPtr<IZModel> NewKernelModel() {
    ComPtr<IZModel> model;
    check(CoCreateInstance(CLSID_ZModel, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                           IID_PPV_ARGS(&model)));
    return Required(model, L"модель");
}

std::wstring ClassName(IZClass* cls) {
    return WideText(cls, &IZClass::get_zrName);
}

std::wstring AttributeName(IZClassValue* cval) {
    return WideText(cval, &IZClassValue::get_zrName);
}

GUID ClassGuid(IZClass* cls) {
    GUID guid;
    check(cls->get_zrGUID(&guid));
    return guid;
}

GUID AttributeGuid(IZClassValue* cval) {
    GUID guid;
    check(cval->get_zrGUID(&guid));
    return guid;
}

std::wstring VariantWideText(const VARIANT& value) {
    if (V_VT(&value) == VT_EMPTY || V_VT(&value) == VT_NULL)
        return {};
    Variant text;
    // The platform takes the source by a non-const pointer but does not change it.
    check(VariantChangeType(text.Get(), const_cast<VARIANT*>(&value), VARIANT_ALPHABOOL, VT_BSTR));
    return {V_BSTR(text.Get()), SysStringLen(V_BSTR(text.Get()))};
}

LONG ClassCount(IZClassVector* classes) {
    return CountOf(classes, &IZClassVector::get_zrCount);
}

ComPtr<IZClass> ClassAt(IZClassVector* classes, LONG index) {
    return Required(Lookup<IZClass>([&](IZClass** found) { return classes->zrItem(index, found); }),
                    L"класс");
}

ComPtr<IZClass> LocateClass(IZClassVector* classes, std::wstring_view name) {
    return Lookup<IZClass>(
        [&](IZClass** found) { return classes->zrLocate(Bstr(name).Get(), found); });
}

ComPtr<IZClass> FindClass(IZClassVector* classes, std::wstring_view name) {
    return LookupOrNone<IZClass>(
        [&](IZClass** found) { return classes->zrLocate(Bstr(name).Get(), found); });
}

ComPtr<IZClass> FindClassByGuid(IZClassVector* classes, GUID guid) {
    return LookupOrNone<IZClass>(
        [&](IZClass** found) { return classes->zrLocateByGUID(&guid, found); });
}

LONG AttributeCount(IZClass* cls) {
    return CountOf(cls, &IZClass::get_zrClassValuesCount);
}

ComPtr<IZClassValue> AttributeAt(IZClass* cls, LONG index) {
    return Required(Lookup<IZClassValue>(
                        [&](IZClassValue** found) { return cls->zriClassValueItem(index, found); }),
                    L"атрибут");
}

ComPtr<IZClassValue> LocateAttribute(IZClass* cls, std::wstring_view name) {
    return Lookup<IZClassValue>(
        [&](IZClassValue** found) { return cls->zrnClassValueItem(Bstr(name).Get(), found); });
}

ComPtr<IZClassValue> FindAttribute(IZClass* cls, BSTR name) {
    return LookupOrNone<IZClassValue>(
        [&](IZClassValue** found) { return cls->zrnClassValueItem(name, found); });
}

ComPtr<IZClassValue> FindAttribute(IZClass* cls, std::wstring_view name) {
    return FindAttribute(cls, Bstr(name).Get());
}

ComPtr<IZClassValue> AttributeWithGuid(IZClass* cls, const GUID& guid) {
    const LONG count = AttributeCount(cls);
    for (LONG index = 0; index < count; ++index) {
        ComPtr<IZClassValue> cval = AttributeAt(cls, index);
        if (IsEqualGUID(AttributeGuid(cval.Get()), guid))
            return cval;
    }
    return nullptr;
}

ComPtr<IZClassValue> InheritedFrom(IZClassValue* cval) {
    return Lookup<IZClassValue>(
        [&](IZClassValue** source) { return cval->get_zrInheritedFrom(source); });
}

LONG AttributeType(IZClassValue* cval) {
    LONG type = 0;
    check(cval->get_zrType(&type));
    return type;
}

ComPtr<IZFilterVector> Filters(IZClassVector* classes) {
    ComPtr<IZFilterVector> filters;
    check(classes->get_zrFilterVector(&filters));
    return Required(filters, L"список фильтров");
}

std::vector<std::wstring> Constraints(IZClassVector* classes, std::wstring_view filter) {
    const Bstr name(filter);
    LONG count = 0;
    check(Filters(classes)->zrConstraintsCount(name.Get(), &count));
    std::vector<std::wstring> values;
    for (LONG index = 0; index < count; ++index) {
        Bstr value;
        check(Filters(classes)->zrConstraintItem(name.Get(), index, value.Out()));
        values.emplace_back(value.View());
    }
    return values;
}

} // namespace kv
