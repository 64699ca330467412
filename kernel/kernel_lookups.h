// Lookups and typed reads of the kernel's structures: classes and attributes by position, name
// and identifier, their texts as the kernel gives them (wide, so what is written back loses
// nothing), filters and their constraints. Every failing status becomes an error at once
// (check), except in the Find functions, where a failing lookup counts as "not found" and its
// error information is cleared.
#pragma once

#include "platform/barriers.h"
#include "platform/com_owners.h"

#include <windows.h>
#include <wrl/client.h>

#include <zkernel.h>

#include <string>
#include <string_view>
#include <vector>

namespace kv {

using Microsoft::WRL::ComPtr;

// A fresh model object of the kernel.
ComPtr<IZModel> NewKernelModel();

// A text property of a kernel object, e.g. WideText(cls, &IZClass::get_zrScreenName).
template <class Object, class Getter> std::wstring WideText(Object* object, Getter get) {
    Bstr text;
    check((object->*get)(text.Out()));
    return std::wstring(text.View());
}
std::wstring ClassName(IZClass* cls);
std::wstring AttributeName(IZClassValue* cval);
GUID ClassGuid(IZClass* cls);
GUID AttributeGuid(IZClassValue* cval);
LONG AttributeType(IZClassValue* cval);

// The value converted to text by the platform's variant rules; empty and null give "".
std::wstring VariantWideText(const VARIANT& value);

// Classes of a structure by position and by name; a null result means "absent".
LONG ClassCount(IZClassVector* classes);
ComPtr<IZClass> ClassAt(IZClassVector* classes, LONG index);
ComPtr<IZClass> LocateClass(IZClassVector* classes, std::wstring_view name);
ComPtr<IZClass> FindClass(IZClassVector* classes, std::wstring_view name);
ComPtr<IZClass> FindClassByGuid(IZClassVector* classes, GUID guid);

// Attributes of a class (own or inherited).
LONG AttributeCount(IZClass* cls);
ComPtr<IZClassValue> AttributeAt(IZClass* cls, LONG index);
ComPtr<IZClassValue> LocateAttribute(IZClass* cls, std::wstring_view name);
ComPtr<IZClassValue> FindAttribute(IZClass* cls, BSTR name);
ComPtr<IZClassValue> FindAttribute(IZClass* cls, std::wstring_view name);
// The first attribute of the class, from position 0, with the identifier; null when none has.
ComPtr<IZClassValue> AttributeWithGuid(IZClass* cls, const GUID& guid);
// The attribute of the base class an inherited entry stands for; null for an own attribute.
ComPtr<IZClassValue> InheritedFrom(IZClassValue* cval);

// The filters of a structure, read afresh from its class vector for each use.
ComPtr<IZFilterVector> Filters(IZClassVector* classes);
// The constraint values of the filter in position order.
std::vector<std::wstring> Constraints(IZClassVector* classes, std::wstring_view filter);

} // namespace kv
