// Plain exports that set the identifier of a class or an attribute, which no automation
// member writes. They take only the kernel's own objects: the interface's vtable is compared
// with ours before the pointer is trusted, and anything else answers false.
#include "com/attribute_object.h"
#include "com/class_object.h"

using namespace zk::com;

extern "C" BOOLEAN WINAPI zrAbuseSetClassGUID(IZClass* cls, const GUID* guid) {
    if (!guid || !ClassObject::IsOwnInterface(cls))
        return FALSE;
    auto* impl = static_cast<ClassObject*>(cls);
    return SUCCEEDED(Barrier(__uuidof(IZClass), [&] {
        impl->model()->structure().SetClassGuid(impl->id(), ToGuid(*guid));
    }));
}

extern "C" BOOLEAN WINAPI zrAbuseSetClassValueGUID(IZClassValue* cval, const GUID* guid) {
    if (!guid || !AttributeObject::IsOwnInterface(cval))
        return FALSE;
    auto* impl = static_cast<AttributeObject*>(cval);
    return SUCCEEDED(Barrier(__uuidof(IZClassValue), [&] {
        impl->model()->structure().SetAttributeGuid(impl->id(), ToGuid(*guid));
    }));
}
