// Structures built in a fresh model of the kernel stand-in, created by ProgID ("zkernel.ZModel"),
// through the kernel's own interfaces and its administration interface. A failing kernel call
// throws, which fails the test that made it.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <zkernel.h>

#include <string>

namespace kvtest {

using Microsoft::WRL::ComPtr;

// Throws std::runtime_error naming the call when the status fails.
void Check(HRESULT hr, const char* what);

// The identifier in registry form, e.g. "{1A000000-0000-0000-0000-000000000003}".
GUID GuidFromText(const wchar_t* text);

class StandInModel {
public:
    // Whether the stand-in is registered, for tests that skip without it.
    static bool Registered();

    StandInModel();

    IZModel* Get() const { return model_.Get(); }
    const ComPtr<IZModel>& Model() const { return model_; }
    IZClassVector* Classes() const { return classes_.Get(); }
    ComPtr<IZFilterVector> Filters() const;

    ComPtr<IZClass> AddClass(const std::wstring& name, const wchar_t* guid = nullptr);
    ComPtr<IZClassValue> AddAttribute(IZClass* cls, const std::wstring& name,
                                      const wchar_t* guid = nullptr);
    ComPtr<IZClass> Locate(const std::wstring& name) const; // null when absent

    // Links made and removed in the kernel itself (it raises the link events).
    void AddLink(const std::wstring& parent, const std::wstring& child);
    void RemoveLink(const std::wstring& parent, const std::wstring& child);
    bool HasLink(const std::wstring& parent, const std::wstring& child) const;

    long AddGroup(const wchar_t* id, const wchar_t* name);
    // Rights of the group for the class or attribute, keyed as the kernel reports the key.
    void SetRights(long group, IZClass* cls, long rights);
    void SetRights(long group, IZClassValue* cval, long rights);
    // The rights of the group with that identifier, -1 when it has no entry.
    long Rights(const wchar_t* groupId, IZClass* cls) const;
    long Rights(const wchar_t* groupId, IZClassValue* cval) const;

    void AddFilter(const wchar_t* name, const wchar_t* caption);
    void AddConstraint(const wchar_t* filter, const wchar_t* className);
    void SetModelName(const std::wstring& name);

    // A property of an attribute: a text or an integer value.
    static void AddProperty(IZClassValue* cval, const std::wstring& name, const std::wstring& text);
    static void AddProperty(IZClassValue* cval, const std::wstring& name, long number);

    // Names of every class, in the kernel's order, and of the attributes of one class.
    std::wstring ClassNames() const;
    static std::wstring AttributeNames(IZClass* cls);

private:
    long Rights(const wchar_t* groupId, const GUID& key) const;

    ComPtr<IZModel> model_;
    ComPtr<IZClassVector> classes_;
};

// Sets a text property: SetText(cls, &IZClass::put_zrScreenName, L"x").
template <class Object, class Setter>
void SetText(Object* object, Setter put, const std::wstring& text) {
    BSTR value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    const HRESULT hr = (object->*put)(value);
    SysFreeString(value);
    Check(hr, "text property put");
}

// The structure behind most generator cases (all names and values are chosen so that each line
// of a fragment shows where it came from):
//   groups, in creation order: admins, operators, guests;
//   Item {1A..01} with the own attribute Code {2A..01};
//   Customer, the parent of Order;
//   Order {1A..03}: screen name "Заказ", at (120, -40), base Item, blocked, child Line; its list
//     is Code (inherited), Number, Total; rights admins 255, operators 0, guests none;
//   Number {2A..02}: type 3, data type {3A..01}, "Номер", alias "num", group "Main", no code,
//     blocked, unit "шт", entity "count", forbid input; properties format = "000",
//     hint = say "hi", width = 12 (integer); rights admins 7, operators none, guests 0;
//   Total {2A..03}: function code CR LF "Total = Price * Count" LF, nothing else, no rights;
//   Line; Empty {1A..05}, no attributes, rights admins 1;
//   filters Active (Order, Line) and Archive (Line).
struct OrderModel {
    StandInModel model;
    ComPtr<IZClass> item, customer, order, line, empty;
    ComPtr<IZClassValue> code, orderCode, number, total;
};

OrderModel BuildOrderModel();

} // namespace kvtest
