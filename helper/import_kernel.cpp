#include "helper/import_kernel.h"

namespace kv::import {

namespace {

template <class Interface>
ComPtr<Interface> RequiredObject(ComPtr<Interface> object, const wchar_t* what) {
    if (!object)
        throw LibraryError(E_POINTER, std::wstring(L"Ядро модели не вернуло объект: ") + what);
    return object;
}

} // namespace

ComPtr<IZModel> NewKernelModel() {
    ComPtr<IZModel> model;
    check(CoCreateInstance(CLSID_ZModel, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                           IID_PPV_ARGS(&model)));
    return RequiredObject(model, L"модель");
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
    LONG count = 0;
    check(classes->get_zrCount(&count));
    return count;
}

ComPtr<IZClass> ClassAt(IZClassVector* classes, LONG index) {
    ComPtr<IZClass> cls;
    check(classes->zrItem(index, &cls));
    return RequiredObject(cls, L"класс");
}

ComPtr<IZClass> LocateClass(IZClassVector* classes, std::wstring_view name) {
    ComPtr<IZClass> cls;
    check(classes->zrLocate(Bstr(name).Get(), &cls));
    return cls;
}

ComPtr<IZClass> FindClass(IZClassVector* classes, std::wstring_view name) {
    ComPtr<IZClass> cls;
    Guarded([&] { cls = LocateClass(classes, name); });
    return cls;
}

ComPtr<IZClass> FindClassByGuid(IZClassVector* classes, GUID guid) {
    ComPtr<IZClass> cls;
    Guarded([&] { check(classes->zrLocateByGUID(&guid, &cls)); });
    return cls;
}

LONG AttributeCount(IZClass* cls) {
    LONG count = 0;
    check(cls->get_zrClassValuesCount(&count));
    return count;
}

ComPtr<IZClassValue> AttributeAt(IZClass* cls, LONG index) {
    ComPtr<IZClassValue> cval;
    check(cls->zriClassValueItem(index, &cval));
    return RequiredObject(cval, L"атрибут");
}

ComPtr<IZClassValue> LocateAttribute(IZClass* cls, std::wstring_view name) {
    ComPtr<IZClassValue> cval;
    check(cls->zrnClassValueItem(Bstr(name).Get(), &cval));
    return cval;
}

ComPtr<IZClassValue> FindAttribute(IZClass* cls, std::wstring_view name) {
    ComPtr<IZClassValue> cval;
    Guarded([&] { cval = LocateAttribute(cls, name); });
    return cval;
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
    ComPtr<IZClassValue> source;
    check(cval->get_zrInheritedFrom(&source));
    return source;
}

LONG AttributeType(IZClassValue* cval) {
    LONG type = 0;
    check(cval->get_zrType(&type));
    return type;
}

ComPtr<IZFilterVector> Filters(IZClassVector* classes) {
    ComPtr<IZFilterVector> filters;
    check(classes->get_zrFilterVector(&filters));
    return RequiredObject(filters, L"список фильтров");
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

} // namespace kv::import
