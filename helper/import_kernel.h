// What the passes of the import share: the three structures and the report, the kernel reads
// they make (texts stay wide, as the kernel gives them, so what is written back loses nothing)
// and the guard that passes a failure over.
#pragma once

#include "helper/import_report.h"
#include "helper/import_rules.h"

#include "platform/com_owners.h"
#include "platform/barriers.h"

#include <windows.h>
#include <wrl/client.h>

#include <zkernel.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv::import {

using Microsoft::WRL::ComPtr;

// The structures of one import: server (S, the only one stored), distribution (D) and the
// user's (U), the mark flag and the report being collected.
struct ImportStructures {
    ComPtr<IZModel> server_model, distribution_model, user_model;
    ComPtr<IZClassVector> server, distribution, user;
    bool mark = false;
    ImportReport report;
};

// Runs the body; the message of a failure inside it (its error information cleared), or
// nothing when the body ran to its end.
template <class Body> std::optional<std::wstring> FailureOf(Body&& body) {
    try {
        body();
        return std::nullopt;
    } catch (...) {
        std::wstring message = DescribeCaughtException().message;
        SetErrorInfo(0, nullptr);
        return message;
    }
}

// The guard of the passes: a failure inside the body is passed over; the answer says whether
// the body ran to its end.
template <class Body> bool Guarded(Body&& body) {
    return !FailureOf(std::forward<Body>(body));
}

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

// The value converted to text by the platform's variant rules; empty and null give "".
std::wstring VariantWideText(const VARIANT& value);

// Classes of a structure by position and by name; a null result means "absent".
LONG ClassCount(IZClassVector* classes);
ComPtr<IZClass> ClassAt(IZClassVector* classes, LONG index);
ComPtr<IZClass> LocateClass(IZClassVector* classes, std::wstring_view name);
// A failing lookup counts as not found.
ComPtr<IZClass> FindClass(IZClassVector* classes, std::wstring_view name);
ComPtr<IZClass> FindClassByGuid(IZClassVector* classes, GUID guid);

// Attributes of a class.
LONG AttributeCount(IZClass* cls);
ComPtr<IZClassValue> AttributeAt(IZClass* cls, LONG index);
ComPtr<IZClassValue> LocateAttribute(IZClass* cls, std::wstring_view name);
// A failing lookup counts as not found.
ComPtr<IZClassValue> FindAttribute(IZClass* cls, std::wstring_view name);
// The first attribute of the class, from position 0, with the identifier; null when none has.
ComPtr<IZClassValue> AttributeWithGuid(IZClass* cls, const GUID& guid);
// The attribute of the base class an inherited entry stands for; null for an own attribute.
ComPtr<IZClassValue> InheritedFrom(IZClassValue* cval);
LONG AttributeType(IZClassValue* cval);

// Puts the text in front of a text property, e.g. Prefix(cls, get, put, L"(+)").
template <class Object, class Getter, class Setter>
void Prefix(Object* object, Getter get, Setter put, std::wstring_view text) {
    const std::wstring current = WideText(object, get);
    check((object->*put)(Bstr(std::wstring(text) + current).Get()));
}

// The filters of a structure, read afresh from its class vector for each use.
ComPtr<IZFilterVector> Filters(IZClassVector* classes);
// The constraint values of the filter in position order.
std::vector<std::wstring> Constraints(IZClassVector* classes, std::wstring_view filter);

} // namespace kv::import
