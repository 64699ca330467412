// Structures for the generator tests, built in a fresh kernel stand-in model created by ProgID
// ("zkernel.ZModel"), through the kernel's own interfaces and its administration interface.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <zkernel.h>

#include <string>

namespace kv::testing {

using Microsoft::WRL::ComPtr;

// Throws std::runtime_error naming the call when the status fails.
void Check(HRESULT hr, const char* what);

// The identifier in registry form, e.g. "{1A000000-0000-0000-0000-000000000003}".
GUID GuidFromText(const wchar_t* text);

// A wide text from ANSI (the process code page), for comparing what a scenario created.
std::wstring WideFromAnsi(const std::string& text);

class StandInModel {
public:
    StandInModel();

    IZModel* Get() const { return model_.Get(); }
    IZClassVector* Classes() const { return classes_.Get(); }

    ComPtr<IZClass> AddClass(const std::wstring& name, const wchar_t* guid = nullptr);
    ComPtr<IZClassValue> AddAttribute(IZClass* cls, const std::wstring& name,
                                      const wchar_t* guid = nullptr);
    ComPtr<IZClass> Locate(const std::wstring& name) const; // null when absent

    long AddGroup(const wchar_t* id, const wchar_t* name);
    // Rights of the group for the class or attribute, keyed as the kernel reports the key.
    void SetRights(long group, IZClass* cls, long rights);
    void SetRights(long group, IZClassValue* cval, long rights);
    // The rights of the group with that identifier, -1 when it has no entry.
    long Rights(const wchar_t* groupId, IZClass* cls) const;
    long Rights(const wchar_t* groupId, IZClassValue* cval) const;

    void AddFilter(const wchar_t* name, const wchar_t* caption);
    void AddConstraint(const wchar_t* filter, const wchar_t* className);

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

} // namespace kv::testing
