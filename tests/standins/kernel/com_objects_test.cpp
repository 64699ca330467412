// The objects of zkernel.dll: one COM object per entity, inheritance as callers see it, soft
// answers for missing names, failures with error information, and unloading.
#include "com_test_support.h"

#include <functional>

namespace zk::testing {
namespace {

// B(b1) <- D(d1), D a child of B.
class KernelObjects : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        model = NewModel();
        vector = ClassVector(model.Get());
        b = AddClass(model.Get(), L"B");
        b1 = AddAttribute(b.Get(), L"b1");
        d = AddClass(model.Get(), L"D");
        d1 = AddAttribute(d.Get(), L"d1");
        ASSERT_EQ(d->put_zrBaseClass(b.Get()), S_OK);
        ASSERT_EQ(b->zrAddChildClass(Bstr(L"D")), S_OK);
    }
    void TearDown() override {
        model.Reset();
        vector.Reset();
        b.Reset();
        d.Reset();
        b1.Reset();
        d1.Reset();
        ComTest::TearDown();
    }
    ComPtr<IZClassValue> Entry(IZClass* cls, const wchar_t* name) {
        ComPtr<IZClassValue> cval;
        EXPECT_EQ(cls->zrnClassValueItem(Bstr(name), &cval), S_OK);
        return cval;
    }

    ComPtr<IZModel> model;
    ComPtr<IZClassVector> vector;
    ComPtr<IZClass> b, d;
    ComPtr<IZClassValue> b1, d1;
};

IUnknown* Identity(IUnknown* object) {
    if (!object)
        return nullptr;
    ComPtr<IUnknown> unknown;
    object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(unknown.GetAddressOf()));
    return unknown.Get();
}

TEST_F(KernelObjects, OneEntityIsOneObject) {
    using Get = std::function<ComPtr<IUnknown>()>;
    auto as_unknown = [](auto object) {
        ComPtr<IUnknown> unknown;
        if (object)
            object.As(&unknown);
        return unknown;
    };
    const struct {
        const char* how;
        IUnknown* expected;
        Get get;
    } cases[] = {
        {"zrLocate", b.Get(),
         [&] {
             ComPtr<IZClass> c;
             vector->zrLocate(Bstr(L"B"), &c);
             return as_unknown(c);
         }},
        {"zrItem", b.Get(),
         [&] {
             ComPtr<IZClass> c;
             vector->zrItem(0, &c);
             return as_unknown(c);
         }},
        {"zrAdd of an existing name", b.Get(),
         [&] {
             ComPtr<IZClass> c;
             vector->zrAdd(Bstr(L"B"), &c);
             return as_unknown(c);
         }},
        {"zrBaseClass", b.Get(),
         [&] {
             ComPtr<IZClass> c;
             d->get_zrBaseClass(&c);
             return as_unknown(c);
         }},
        {"zriChildClassItem", d.Get(),
         [&] {
             ComPtr<IZClass> c;
             b->zriChildClassItem(0, &c);
             return as_unknown(c);
         }},
        {"zrnChildClassItem", d.Get(),
         [&] {
             ComPtr<IZClass> c;
             b->zrnChildClassItem(Bstr(L"D"), &c);
             return as_unknown(c);
         }},
        {"zrOwnerClass", d.Get(),
         [&] {
             ComPtr<IZClass> c;
             d1->get_zrOwnerClass(&c);
             return as_unknown(c);
         }},
        {"zriClassValueItem", b1.Get(),
         [&] {
             ComPtr<IZClassValue> v;
             b->zriClassValueItem(0, &v);
             return as_unknown(v);
         }},
        {"zrAddClassValue of an existing name", d1.Get(),
         [&] {
             ComPtr<IZClassValue> v;
             d->zrAddClassValue(Bstr(L"d1"), &v);
             return as_unknown(v);
         }},
        {"zrInheritedFrom", b1.Get(),
         [&] {
             ComPtr<IZClassValue> v;
             Entry(d.Get(), L"b1")->get_zrInheritedFrom(&v);
             return as_unknown(v);
         }},
        {"zrProperties", b1.Get(),
         [&] {
             ComPtr<IZProperties> p;
             b1->get_zrProperties(&p);
             return as_unknown(p);
         }},
        {"zrModel", model.Get(),
         [&] {
             ComPtr<IZModel> m;
             vector->get_zrModel(&m);
             return as_unknown(m);
         }},
        {"zrFilterVector", vector.Get(),
         [&] {
             ComPtr<IZFilterVector> f;
             vector->get_zrFilterVector(&f);
             return as_unknown(f);
         }},
    };
    for (const auto& c : cases) {
        ComPtr<IUnknown> got = c.get();
        ASSERT_TRUE(got) << c.how;
        EXPECT_EQ(Identity(got.Get()), Identity(c.expected)) << c.how;
    }
}

TEST_F(KernelObjects, InheritedEntriesAsCallersSeeThem) {
    ComPtr<IZClassValue> view = Entry(d.Get(), L"b1");
    ASSERT_TRUE(view);
    LONG count = 0;
    ASSERT_EQ(d->get_zrClassValuesCount(&count), S_OK);
    EXPECT_EQ(count, 2); // d1, then b1 inherited
    GUID declared, seen;
    ASSERT_EQ(b1->get_zrGUID(&declared), S_OK);
    ASSERT_EQ(view->get_zrGUID(&seen), S_OK);
    EXPECT_EQ(seen, declared);
    ASSERT_EQ(view->put_zrScreenName(Bstr(L"through")), S_OK); // reaches the declaring one
    Bstr screen;
    ASSERT_EQ(b1->get_zrScreenName(screen.put()), S_OK);
    EXPECT_EQ(screen.str(), L"through");

    // zrInheritedFrom = Nothing: an own attribute, same object, name and GUID.
    ASSERT_EQ(view->put_zrInheritedFrom(nullptr), S_OK);
    ComPtr<IZClassValue> source;
    ASSERT_EQ(view->get_zrInheritedFrom(&source), S_OK);
    EXPECT_FALSE(source);
    EXPECT_EQ(Identity(Entry(d.Get(), L"b1").Get()), Identity(view.Get()));
    ASSERT_EQ(view->get_zrGUID(&seen), S_OK);
    EXPECT_EQ(seen, declared);
    ASSERT_EQ(view->put_zrScreenName(Bstr(L"own")), S_OK);
    ASSERT_EQ(b1->get_zrScreenName(screen.put()), S_OK);
    EXPECT_EQ(screen.str(), L"through");

    // A base that loses its attribute no longer lends it; the own copy stays.
    ASSERT_EQ(b->zrRemoveClassValue(Bstr(L"b1")), S_OK);
    EXPECT_TRUE(Entry(d.Get(), L"b1"));
    ASSERT_EQ(b->get_zrClassValuesCount(&count), S_OK);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(b1->get_zrName(screen.put()), RPC_E_DISCONNECTED); // the removed attribute
    EXPECT_NE(ErrorText().find(L"no longer exists"), std::wstring::npos);
}

TEST_F(KernelObjects, MissingNamesAnswerSoftly) {
    ComPtr<IZClass> cls;
    EXPECT_EQ(vector->zrLocate(Bstr(L"Nope"), &cls), S_OK);
    EXPECT_FALSE(cls);
    GUID unknown = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    EXPECT_EQ(vector->zrLocateByGUID(&unknown, &cls), S_OK);
    EXPECT_FALSE(cls);
    EXPECT_EQ(b->zrnChildClassItem(Bstr(L"B"), &cls), S_OK);
    EXPECT_FALSE(cls);
    ComPtr<IZClassValue> cval;
    EXPECT_EQ(b->zrnClassValueItem(Bstr(L"nope"), &cval), S_OK);
    EXPECT_FALSE(cval);
    ComPtr<IZProperties> props;
    ASSERT_EQ(b1->get_zrProperties(&props), S_OK);
    VARIANT value;
    EXPECT_EQ(props->zrPropValue(Bstr(L"nope"), &value), S_OK);
    EXPECT_EQ(V_VT(&value), VT_EMPTY);
    ComPtr<IZFilterVector> filters;
    ASSERT_EQ(vector->get_zrFilterVector(&filters), S_OK);
    LONG count = -1;
    EXPECT_EQ(filters->zrConstraintsCount(Bstr(L"nope"), &count), S_OK);
    EXPECT_EQ(count, 0);
    Bstr text;
    EXPECT_EQ(vector->get_zrPatchFunction(Bstr(L"nope"), text.put()), S_OK);
    EXPECT_EQ(text.str(), L"");
    EXPECT_EQ(vector->zrPatchFunctionName(0, text.put()), S_OK);
    EXPECT_EQ(text.str(), L"");

    ComPtr<IZLocalSecurity> security;
    ASSERT_EQ(model->zrGetLocalSecurity(&security), S_OK);
    LONG group = -1;
    EXPECT_EQ(security->zrGroupByID(Bstr(L"nope"), &group), S_OK);
    EXPECT_EQ(group, 0);
    GUID key;
    ASSERT_EQ(b->get_zrGUID(&key), S_OK);
    LONG rights = -1;
    EXPECT_EQ(security->zrGetRights(0, &key, &rights), S_OK);
    EXPECT_EQ(rights, -1);
}

// The failure switch counts every kernel call from when it is set (its own interface's aside,
// a call through IDispatch once), makes the nth fail naming the method or answer with no
// object, and is off again at 0.
TEST_F(KernelObjects, FailureSwitchCountsCallsAndFailsTheNthAsAsked) {
    ComPtr<IZModelAdmin> admin;
    ASSERT_EQ(model.As(&admin), S_OK);
    AddClass(model.Get(), L"B");
    const auto locate = [&] {
        ComPtr<IZClass> cls;
        const HRESULT hr = vector->zrLocate(Bstr(L"B"), &cls);
        return std::make_pair(hr, cls);
    };

    ASSERT_EQ(admin->zrSetCallFailure(-1, 0), S_OK);
    LONG count = -1;
    EXPECT_EQ(vector->get_zrCount(&count), S_OK);
    locate();
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(vector.As(&dispatch), S_OK);
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"zrCount");
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    DISPPARAMS none = {};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                               &result, nullptr, nullptr),
              S_OK);
    LONG calls = 0;
    ASSERT_EQ(admin->get_zrCallCount(&calls), S_OK);
    EXPECT_EQ(calls, 3);
    VARIANT interfaces;
    ASSERT_EQ(admin->get_zrCalledInterfaces(&interfaces), S_OK);
    ASSERT_EQ(V_VT(&interfaces), VT_ARRAY | VT_BSTR);
    LONG last = -1;
    SafeArrayGetUBound(V_ARRAY(&interfaces), 1, &last);
    EXPECT_EQ(last, 0) << "IZClassVector only";
    VariantClear(&interfaces);

    ASSERT_EQ(admin->zrSetCallFailure(2, 0), S_OK);
    EXPECT_EQ(vector->get_zrCount(&count), S_OK);
    const auto [failed, none_found] = locate();
    EXPECT_EQ(failed, E_FAIL);
    EXPECT_FALSE(none_found);
    EXPECT_NE(ErrorText().find(L"zrLocate"), std::wstring::npos) << ErrorText();
    EXPECT_EQ(locate().first, S_OK) << "only the nth fails";

    ASSERT_EQ(admin->zrSetCallFailure(1, 1), S_OK);
    const auto [answered, nothing] = locate();
    EXPECT_EQ(answered, S_OK);
    EXPECT_FALSE(nothing);
    EXPECT_TRUE(locate().second);

    ASSERT_EQ(admin->zrSetCallFailure(0, 0), S_OK);
    ASSERT_EQ(admin->get_zrCallCount(&calls), S_OK);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(admin->zrSetCallFailure(1, 7), E_INVALIDARG);
}

// Switched, filters, classes and attributes are found under any spelling of their names, and
// the operations by name reach what they find; a name that matches exactly wins.
TEST_F(KernelObjects, NameLookupsIgnoreCaseWhenSwitched) {
    ComPtr<IZFilterVector> filters;
    ASSERT_EQ(vector->get_zrFilterVector(&filters), S_OK);
    ASSERT_EQ(filters->zrCreateFilterEx(Bstr(L"Активные"), Bstr(L"caption")), S_OK);
    ASSERT_EQ(filters->zrAddConstraint(Bstr(L"Активные"), Bstr(L"B")), S_OK);
    const ComPtr<IZClass> lower_b = AddClass(model.Get(), L"b");
    auto filter_exists = [&](const wchar_t* name) {
        VARIANT_BOOL exists = VARIANT_FALSE;
        EXPECT_EQ(filters->zrFilterExists(Bstr(name), &exists), S_OK);
        return exists != VARIANT_FALSE;
    };
    auto located = [&](const wchar_t* name) {
        ComPtr<IZClass> cls;
        EXPECT_EQ(vector->zrLocate(Bstr(name), &cls), S_OK);
        return Identity(cls.Get());
    };
    auto constraints = [&](const wchar_t* filter) {
        LONG count = -1;
        EXPECT_EQ(filters->zrConstraintsCount(Bstr(filter), &count), S_OK);
        return count;
    };

    {
        KernelSwitch switched(&IZModelAdmin::zrSetNameLookupIgnoresCase);
        EXPECT_TRUE(filter_exists(L"АКТИВНЫЕ"));
        EXPECT_EQ(constraints(L"активные"), 1);
        Bstr item;
        EXPECT_EQ(filters->zrConstraintItem(Bstr(L"АКТИВНЫЕ"), 0, item.put()), S_OK);
        EXPECT_EQ(item.str(), L"B");
        ASSERT_EQ(filters->zrAddConstraint(Bstr(L"АКТИВНЫЕ"), Bstr(L"D")), S_OK);
        EXPECT_EQ(constraints(L"Активные"), 2);
        ASSERT_EQ(filters->zrCreateFilterEx(Bstr(L"АКТИВНЫЕ"), Bstr(L"new caption")), S_OK);
        LONG count = 0;
        ASSERT_EQ(filters->get_zrFiltersCount(&count), S_OK);
        EXPECT_EQ(count, 1) << "the caption of the filter found is set";
        Bstr caption;
        ASSERT_EQ(filters->zrFilterCaption(0, caption.put()), S_OK);
        EXPECT_EQ(caption.str(), L"new caption");

        EXPECT_EQ(located(L"d"), Identity(d.Get()));
        EXPECT_EQ(located(L"b"), Identity(lower_b.Get())) << "the exact name first";
        EXPECT_EQ(located(L"B"), Identity(b.Get()));
        ComPtr<IZClass> child;
        EXPECT_EQ(b->zrnChildClassItem(Bstr(L"d"), &child), S_OK);
        EXPECT_EQ(Identity(child.Get()), Identity(d.Get()));
        EXPECT_EQ(Identity(AddClass(model.Get(), L"D").Get()), Identity(d.Get()));
        EXPECT_EQ(Identity(AddAttribute(d.Get(), L"D1").Get()), Identity(d1.Get()));
        const ComPtr<IZClassValue> view = Entry(d.Get(), L"B1");
        EXPECT_TRUE(view);
        EXPECT_EQ(Identity(view.Get()), Identity(Entry(d.Get(), L"b1").Get())) << "inherited";

        ASSERT_EQ(filters->zrRemoveFilter(Bstr(L"активные")), S_OK);
        EXPECT_FALSE(filter_exists(L"Активные"));
    }

    ASSERT_EQ(filters->zrCreateFilterEx(Bstr(L"Активные"), Bstr(L"caption")), S_OK);
    EXPECT_FALSE(filter_exists(L"АКТИВНЫЕ")) << "switched back";
    EXPECT_EQ(located(L"d"), nullptr);
    EXPECT_FALSE(Entry(d.Get(), L"B1"));
}

TEST_F(KernelObjects, FailuresCarryTheirReason) {
    const struct {
        const char* call;
        std::function<HRESULT()> call_it;
        const wchar_t* reason;
    } cases[] = {
        {"position out of range",
         [&] {
             ComPtr<IZClass> c;
             return vector->zrItem(9, &c);
         },
         L"out of range"},
        {"link to a missing class", [&] { return b->zrAddChildClass(Bstr(L"Nope")); },
         L"no such class"},
        {"base cycle", [&] { return b->put_zrBaseClass(d.Get()); }, L"cycle"},
        {"remove an inherited entry", [&] { return d->zrRemoveClassValue(Bstr(L"b1")); },
         L"inherited"},
        {"rights with group 0",
         [&] {
             ComPtr<IZLocalSecurity> security;
             model->zrGetLocalSecurity(&security);
             GUID key{};
             return security->zrSetRights(0, &key, 1);
         },
         L"group"},
        {"an attribute given as a class", [&] { return d->zrAssign(b1.Get(), 0, -1); },
         L"class of this kernel"},
    };
    for (const auto& c : cases) {
        SetErrorInfo(0, nullptr);
        EXPECT_TRUE(FAILED(c.call_it())) << c.call;
        EXPECT_NE(ErrorText().find(c.reason), std::wstring::npos)
            << c.call << ": " << Utf8FromWide(ErrorText());
    }
}

TEST_F(KernelObjects, EveryObjectGoesWhenReleased) {
    auto can_unload = reinterpret_cast<HRESULT(WINAPI*)()>(
        GetProcAddress(GetModuleHandleW(L"zkernel.dll"), "DllCanUnloadNow"));
    ASSERT_TRUE(can_unload);
    EXPECT_EQ(can_unload(), S_FALSE);
    model.Reset();
    vector.Reset();
    b.Reset();
    d.Reset();
    b1.Reset();
    EXPECT_EQ(can_unload(), S_FALSE); // d1 keeps its model alive
    d1.Reset();
    EXPECT_EQ(can_unload(), S_OK);
}

} // namespace
} // namespace zk::testing
