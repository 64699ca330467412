// Fragments replayed by the real Script Control, driven late-bound by member name as any
// automation client would, against a fresh kernel stand-in model: names with double quotes and
// line breaks compile and are recreated exactly, and nothing around them runs as a statement;
// a complete class fragment recreates the class it was recorded from.
#include "golden.h"
#include "support/script_control.h"
#include "support/stand_in_model.h"
#include "support/wide_text.h"

#include "recording/attribute_fragments.h"
#include "recording/class_fragments.h"
#include "recording/recording_state.h"
#include "text/scenario_templates.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <vector>

namespace kv::testing {

using namespace kvtest;

namespace {

class Replay : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    void TearDown() override {
        ReleaseRecording();
        CoUninitialize();
    }
};

template <class Object, class Getter> std::wstring TextOf(Object* object, Getter get) {
    BSTR text = nullptr;
    Check((object->*get)(&text), "text property get");
    std::wstring result(text, SysStringLen(text));
    SysFreeString(text);
    return result;
}

template <class Object> GUID GuidOf(Object* object) {
    GUID guid = {};
    Check(object->get_zrGUID(&guid), "zrGUID");
    return guid;
}

ComPtr<IZClassValue> AttributeAt(IZClass* cls, long index) {
    ComPtr<IZClassValue> cval;
    Check(cls->zriClassValueItem(index, &cval), "zriClassValueItem");
    return cval;
}

// What the generators appended, as a scenario file holds it.
std::string Recorded() {
    return ScenarioText(*ScriptBuffer);
}

// Runs recorded fragments as the runner runs a scenario: behind the scenario's own header,
// wrapped in Scripter( mdl ), called with the model.
void RunAsScenario(const std::string& fragments, IZModel* target) {
    const std::wstring program = L"function Scripter( mdl )\r\n" +
                                 Widen(std::string(tplScriptHeader)) + L"\r\n" + Widen(fragments) +
                                 L"end function\r\n";
    ScriptControl control;
    Check(control.AddCode(program), "AddCode");
    Check(control.Run(L"Scripter", target), "Run");
}

// The names would, written raw, end the literal and run the text after the line break as a
// statement that creates the class "Injected".
TEST_F(Replay, NamesWithQuotesAndLineBreaksAreRecreatedExactly) {
    const std::wstring className = L"Say \"Hi\"\r\nmdl.zrGetClassVector.zrAdd(\"Injected\")";
    const std::wstring attributeName = L"Val\"ue\r2";
    const std::wstring screenName = L"Заказ \"срочный\"";
    std::string scenario;
    {
        StandInModel source;
        ComPtr<IZClass> cls = source.AddClass(className, L"{1B000000-0000-0000-0000-000000000001}");
        SetText(cls.Get(), &IZClass::put_zrScreenName, screenName);
        source.AddAttribute(cls.Get(), attributeName, L"{2B000000-0000-0000-0000-000000000001}");

        RecordingActive = true;
        ScriptBuffer.emplace();
        ASSERT_TRUE(scriptClass(cls.Get(), L"", {.updateOnly = true}));
        scenario = ScenarioText(*ScriptBuffer);
        EXPECT_TRUE(SameBytes(scenario, Golden("injected_names")));
    }

    StandInModel target;
    ASSERT_NO_THROW(RunAsScenario(scenario, target.Get()));

    EXPECT_EQ(target.ClassNames(), className);
    ComPtr<IZClass> replayed = target.Locate(className);
    ASSERT_NE(replayed, nullptr);
    EXPECT_EQ(StandInModel::AttributeNames(replayed.Get()), attributeName);
    EXPECT_EQ(TextOf(replayed.Get(), &IZClass::get_zrScreenName), screenName);
    // The helper's statements after each name ran as well.
    EXPECT_EQ(GuidOf(replayed.Get()), GuidFromText(L"{1B000000-0000-0000-0000-000000000001}"));
    EXPECT_EQ(GuidOf(AttributeAt(replayed.Get(), 0).Get()),
              GuidFromText(L"{2B000000-0000-0000-0000-000000000001}"));
}

// The complete class fragment with every block, and a move to the end, replayed on a structure
// that has the other classes, the groups and the filters but no Order: the class comes back as
// it was, its attributes in their order and with their values, its links, its constraint, and
// the class's rights on every attribute.
TEST_F(Replay, CompleteClassFragmentRecreatesTheClass) {
    OrderModel source = BuildOrderModel();
    RecordingActive = true;
    ScriptBuffer.emplace();
    ASSERT_TRUE(scriptClass(source.order.Get(), L"",
                            {.attributeRights = true, .links = true, .filters = true}));
    ASSERT_TRUE(scriptCValMove(source.number.Get(), nullptr));

    StandInModel target;
    target.AddGroup(L"admins", L"Администраторы");
    target.AddGroup(L"operators", L"Операторы");
    target.AddGroup(L"guests", L"Гости");
    ComPtr<IZClass> item = target.AddClass(L"Item", L"{1A000000-0000-0000-0000-000000000001}");
    target.AddAttribute(item.Get(), L"Code", L"{2A000000-0000-0000-0000-000000000001}");
    target.AddClass(L"Customer");
    target.AddClass(L"Line");
    target.AddFilter(L"Active", L"Активные");
    ASSERT_NO_THROW(RunAsScenario(Recorded(), target.Get()));

    ComPtr<IZClass> order = target.Locate(L"Order");
    ASSERT_NE(order, nullptr);
    EXPECT_EQ(GuidOf(order.Get()), GuidFromText(L"{1A000000-0000-0000-0000-000000000003}"));
    EXPECT_EQ(TextOf(order.Get(), &IZClass::get_zrScreenName), L"Заказ");
    ComPtr<IZClassPosition> position;
    Check(order.As(&position), "QueryInterface IZClassPosition");
    LONG x = 0, y = 0;
    Check(position->GetPosition(&x, &y), "GetPosition");
    EXPECT_EQ(x, 120);
    EXPECT_EQ(y, -40);
    ComPtr<IZClass> base;
    Check(order->get_zrBaseClass(&base), "zrBaseClass");
    EXPECT_EQ(base, item);

    EXPECT_EQ(StandInModel::AttributeNames(order.Get()), L"Code|Total|Number");
    ComPtr<IZClassValue> number = AttributeAt(order.Get(), 2);
    EXPECT_EQ(GuidOf(number.Get()), GuidFromText(L"{2A000000-0000-0000-0000-000000000002}"));
    EXPECT_EQ(TextOf(number.Get(), &IZClassValue::get_zrScreenName), L"Номер");
    EXPECT_EQ(TextOf(number.Get(), &IZClassValue::get_zrMeasureUnit), L"шт");
    LONG type = 0;
    Check(number->get_zrType(&type), "zrType");
    EXPECT_EQ(type, 3);
    GUID dataType = {};
    Check(number->get_zrDataType(&dataType), "zrDataType");
    EXPECT_EQ(dataType, GuidFromText(L"{3A000000-0000-0000-0000-000000000001}"));
    ComPtr<IZProperties> props;
    Check(number->get_zrProperties(&props), "zrProperties");
    LONG propCount = 0;
    Check(props->get_zrCount(&propCount), "zrCount");
    EXPECT_EQ(propCount, 3);
    BSTR hint = SysAllocString(L"hint");
    VARIANT hintValue;
    VariantInit(&hintValue);
    Check(props->zrPropValue(hint, &hintValue), "zrPropValue");
    SysFreeString(hint);
    ASSERT_EQ(V_VT(&hintValue), VT_BSTR);
    EXPECT_STREQ(V_BSTR(&hintValue), L"say \"hi\"");
    VariantClear(&hintValue);
    EXPECT_EQ(TextOf(AttributeAt(order.Get(), 1).Get(), &IZClassValue::get_zrFunctionCode),
              L"\r\nTotal = Price * Count\r\n");

    EXPECT_EQ(target.Rights(L"admins", order.Get()), 255);
    EXPECT_EQ(target.Rights(L"operators", order.Get()), 0);
    EXPECT_EQ(target.Rights(L"guests", order.Get()), -1);
    EXPECT_EQ(target.Rights(L"admins", number.Get()), 255);
    EXPECT_EQ(target.Rights(L"guests", number.Get()), -1);

    ComPtr<IZClass> child;
    Check(order->zriChildClassItem(0, &child), "zriChildClassItem");
    EXPECT_EQ(child, target.Locate(L"Line"));
    ComPtr<IZClass> link;
    BSTR orderName = SysAllocString(L"Order");
    Check(target.Locate(L"Customer")->zrnChildClassItem(orderName, &link), "zrnChildClassItem");
    SysFreeString(orderName);
    EXPECT_EQ(link, order);
    ComPtr<IZFilterVector> filters;
    Check(target.Classes()->QueryInterface(IID_PPV_ARGS(&filters)), "IZFilterVector");
    BSTR active = SysAllocString(L"Active");
    BSTR value = SysAllocString(L"Order");
    VARIANT_BOOL constrained = VARIANT_FALSE;
    Check(filters->zrConstraintExists(active, value, &constrained), "zrConstraintExists");
    SysFreeString(active);
    SysFreeString(value);
    EXPECT_NE(constrained, VARIANT_FALSE);
}

} // namespace
} // namespace kv::testing
