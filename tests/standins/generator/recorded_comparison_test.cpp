// The recorded comparison notices a change in every part a recording carries, and nothing in
// what a recording never writes or writes in another order.
#include "recorded_comparison.h"

#include <gtest/gtest.h>

#include <functional>

namespace kvgen {
namespace {

using zk::EntityId;
using zk::Structure;

zk::Guid GuidOf(std::uint8_t first) {
    zk::Guid guid;
    guid.bytes[0] = first;
    guid.bytes[15] = 0x5A;
    return guid;
}

// "Деталь" (a, b with properties) <- "Вал 100%" (a inherited, b cut, c own); "Вал 100%" is its
// own child and a child of "Деталь"; a filter, a module and two groups with rights.
Structure Sample() {
    Structure s;
    const EntityId part = s.AddClass("Деталь");
    const EntityId shaft = s.AddClass("Вал 100%");
    s.SetClassGuid(s.AddClass("Узел"), GuidOf(3));
    s.SetClassGuid(part, GuidOf(1));
    s.SetClassGuid(shaft, GuidOf(2));
    s.SetClassScreenName(part, "Деталь \"общая\"");
    s.SetClassPosition(shaft, -40, 120);
    const EntityId a = s.AddAttribute(part, "a");
    const EntityId b = s.AddAttribute(part, "b");
    s.SetAttributeGuid(a, GuidOf(10));
    s.SetAttributeGuid(b, GuidOf(11));
    s.EditAttribute(a, [](zk::AttributeData& data) {
        data.type = 3;
        data.data_type = GuidOf(99);
        data.screen_name = "Масса";
        data.alias_name = "m";
        data.group = "Физ.";
        data.function_code = "x = 1\r\ny = 2";
        data.measure_unit = "кг";
        data.measure_entity = "масса";
        data.forbid_input = true;
        data.properties.Set("Мин", zk::Value::Integer(zk::ValueType::I4, 5));
        data.properties.Set("Note", zk::Value::Text("текст"));
    });
    s.SetBaseClass(shaft, part);
    s.MakeOwn(s.FindAttribute(shaft, "b"));
    s.SetAttributeGuid(s.AddAttribute(shaft, "c"), GuidOf(12));
    s.AddLink(part, "Вал 100%");
    s.AddLink(shaft, "Вал 100%");
    s.AddLink(part, "Узел");
    s.CreateFilter("Изделия", "Все изделия");
    s.AddConstraint("Изделия", "Деталь");
    s.AddConstraint("Изделия", "Вал 100%");
    s.SetModule("Common", "function F()\r\nend function");
    const std::int32_t designers = s.AddGroup("designers", "Конструкторы");
    const std::int32_t workers = s.AddGroup("workers", "Цех");
    s.SetRights(designers, GuidOf(1), 15);
    s.SetRights(designers, GuidOf(10), 3);
    s.SetRights(workers, GuidOf(2), 0);
    s.SetRights(workers, GuidOf(11), 1);
    return s;
}

EntityId ClassOf(const Structure& s, const char* name) {
    return s.FindClass(name);
}

EntityId AttributeOf(const Structure& s, const char* cls, const char* name) {
    return s.FindAttribute(s.FindClass(cls), name);
}

void EditA(Structure& s, const std::function<void(zk::AttributeData&)>& edit) {
    s.EditAttribute(AttributeOf(s, "Деталь", "a"), edit);
}

std::int32_t Group(const Structure& s, const char* id) {
    return s.FindGroupById(id)->handle;
}

struct EditCase {
    const char* name;
    std::function<void(Structure&)> edit;
    const char* expected_text; // in one of the difference lines; nullptr: no line at all
};

void PrintTo(const EditCase& c, std::ostream* out) {
    *out << c.name;
}

class RecordedComparisonTest : public testing::TestWithParam<EditCase> {};

TEST_P(RecordedComparisonTest, ShowsExactlyTheComparedChanges) {
    const Structure expected = Sample();
    ASSERT_TRUE(RecordedComparison(expected, Sample()).empty());
    Structure actual = Sample();
    GetParam().edit(actual);
    const std::vector<std::string> lines = RecordedComparison(expected, actual);
    std::string all;
    for (const std::string& line : lines)
        all += line + "\n";
    if (!GetParam().expected_text) {
        EXPECT_TRUE(lines.empty()) << all;
        return;
    }
    EXPECT_NE(all.find(GetParam().expected_text), std::string::npos) << all;
    // The reverse comparison notices it too.
    EXPECT_FALSE(RecordedComparison(actual, expected).empty());
}

const EditCase kNoticed[] = {
    {"ClassMissing", [](Structure& s) { s.RemoveClass("Узел"); }, "class \"Узел\" is missing"},
    {"ClassExtra", [](Structure& s) { s.AddClass("Лишний"); }, "class \"Лишний\" is not expected"},
    {"ClassGuid", [](Structure& s) { s.SetClassGuid(ClassOf(s, "Деталь"), GuidOf(7)); },
     "class \"Деталь\": identifier"},
    {"ClassScreenName",
     [](Structure& s) { s.SetClassScreenName(ClassOf(s, "Деталь"), "Деталь \"общая\" "); },
     "class \"Деталь\": screen name"},
    {"Position", [](Structure& s) { s.SetClassPosition(ClassOf(s, "Вал 100%"), -40, 121); },
     "position: expected (-40, 120), got (-40, 121)"},
    {"BaseClass", [](Structure& s) { s.SetBaseClass(ClassOf(s, "Вал 100%"), 0); },
     "class \"Вал 100%\": base class: expected \"Деталь\", got \"\""},
    {"LinkMissing", [](Structure& s) { s.RemoveLink(ClassOf(s, "Вал 100%"), "Вал 100%"); },
     "child link to \"Вал 100%\" is missing"},
    {"LinkExtra", [](Structure& s) { s.AddLink(ClassOf(s, "Узел"), "Деталь"); },
     "class \"Узел\": child link to \"Деталь\" is not expected"},
    {"AttributeMissing", [](Structure& s) { s.RemoveAttribute(ClassOf(s, "Вал 100%"), "c"); },
     "attributes in order"},
    {"AttributeOrder", [](Structure& s) { s.SwapAttributes(ClassOf(s, "Вал 100%"), "a", "c"); },
     "class \"Вал 100%\": attributes in order"},
    {"InheritedMadeOwn", [](Structure& s) { s.MakeOwn(AttributeOf(s, "Вал 100%", "a")); },
     "attribute \"a\": status: expected inherited, got own"},
    {"AttributeGuid", [](Structure& s) { s.SetAttributeGuid(AttributeOf(s, "Вал 100%", "c"), {}); },
     "attribute \"c\": identifier"},
    {"Type", [](Structure& s) { EditA(s, [](auto& d) { d.type = 4; }); }, "type: expected 3"},
    {"DataType", [](Structure& s) { EditA(s, [](auto& d) { d.data_type = {}; }); }, "data type"},
    {"AttributeScreenName", [](Structure& s) { EditA(s, [](auto& d) { d.screen_name = "M"; }); },
     "attribute \"a\": screen name"},
    {"Alias", [](Structure& s) { EditA(s, [](auto& d) { d.alias_name.clear(); }); }, "alias name"},
    {"AttributeGroup", [](Structure& s) { EditA(s, [](auto& d) { d.group = "x"; }); }, "group"},
    {"FunctionCode", [](Structure& s) { EditA(s, [](auto& d) { d.function_code += " "; }); },
     "function code"},
    {"Unit", [](Structure& s) { EditA(s, [](auto& d) { d.measure_unit = "г"; }); }, "measure unit"},
    {"Entity", [](Structure& s) { EditA(s, [](auto& d) { d.measure_entity.clear(); }); },
     "measure entity"},
    {"ForbidInput", [](Structure& s) { EditA(s, [](auto& d) { d.forbid_input = false; }); },
     "forbid input: expected true, got false"},
    {"PropertyValue",
     [](Structure& s) { EditA(s, [](auto& d) { d.properties.Set("Мин", zk::Value::Text("6")); }); },
     "properties: expected [\"Мин\" = \"5\", \"Note\" = \"текст\"], got [\"Мин\" = \"6\","},
    {"PropertyMissing",
     [](Structure& s) { EditA(s, [](auto& d) { d.properties.Remove("Note"); }); }, "properties"},
    {"CutAttributeField",
     [](Structure& s) {
         s.EditAttribute(AttributeOf(s, "Вал 100%", "b"), [](auto& d) { d.screen_name = "x"; });
     },
     "class \"Вал 100%\" attribute \"b\": screen name"},
    {"FilterMissing", [](Structure& s) { s.RemoveFilter("Изделия"); }, "filters in order"},
    {"FilterCaption", [](Structure& s) { s.CreateFilter("Изделия", "Другое"); }, "caption"},
    {"ConstraintMissing", [](Structure& s) { s.RemoveConstraint("Изделия", "Деталь"); },
     "constraint \"Деталь\" is missing"},
    {"ModuleText", [](Structure& s) { s.SetModule("Common", "function F()\r\nend  function"); },
     "module \"Common\": text"},
    {"ModuleExtra", [](Structure& s) { s.SetModule("Other", ""); }, "modules in order"},
    {"GroupName", [](Structure& s) { s.AddGroup("workers", "Цех 2"); }, "groups in order"},
    {"ClassRights", [](Structure& s) { s.SetRights(Group(s, "designers"), GuidOf(1), 7); },
     "group \"designers\" class \"Деталь\": rights: expected 15, got 7"},
    {"RightsZeroRemoved", [](Structure& s) { s.RemoveRights(Group(s, "workers"), GuidOf(2)); },
     "rights: expected 0, got no entry"},
    {"AttributeRights", [](Structure& s) { s.RemoveRights(Group(s, "designers"), GuidOf(10)); },
     "group \"designers\" class \"Деталь\" attribute \"a\": rights"},
    {"CutAttributeRights", [](Structure& s) { s.SetRights(Group(s, "workers"), GuidOf(11), 2); },
     "attribute \"b\": rights"},
};
INSTANTIATE_TEST_SUITE_P(Noticed, RecordedComparisonTest, testing::ValuesIn(kNoticed),
                         [](const auto& info) { return std::string(info.param.name); });

// What a recording never writes, order where it carries none, and code line breaks.
const EditCase kIgnored[] = {
    {"ClassBlocked", [](Structure& s) { s.SetClassBlocked(ClassOf(s, "Деталь"), true); }, nullptr},
    {"AttributeBlocked", [](Structure& s) { EditA(s, [](auto& d) { d.blocked = true; }); },
     nullptr},
    {"Precision", [](Structure& s) { EditA(s, [](auto& d) { d.precision = 4; }); }, nullptr},
    {"ModelName", [](Structure& s) { s.SetName("other.ztp"); }, nullptr},
    {"EventItem", [](Structure& s) { s.AddEventItem("OnSave", true); }, nullptr},
    {"EventGroup",
     [](Structure& s) {
         s.SetEventGroup(zk::EventGroup{"Group.xml", {}});
     },
     nullptr},
    {"ClassOrder",
     [](Structure& s) {
         s.RemoveClass("Узел");
         s.SetClassGuid(s.AddClass("Узел"), GuidOf(3));
         s.AddLink(ClassOf(s, "Деталь"), "Узел");
     },
     nullptr},
    {"LinkOrder",
     [](Structure& s) {
         s.RemoveLink(ClassOf(s, "Деталь"), "Вал 100%");
         s.AddLink(ClassOf(s, "Деталь"), "Вал 100%");
     },
     nullptr},
    {"ConstraintOrder",
     [](Structure& s) {
         s.RemoveConstraint("Изделия", "Деталь");
         s.AddConstraint("Изделия", "Деталь");
     },
     nullptr},
    {"CodeLineBreaks",
     [](Structure& s) { EditA(s, [](auto& d) { d.function_code = "x = 1\ny = 2"; }); }, nullptr},
    {"ModuleLineBreaks", [](Structure& s) { s.SetModule("Common", "function F()\rend function"); },
     nullptr},
    {"ValueKindWithTheSameText",
     [](Structure& s) { EditA(s, [](auto& d) { d.properties.Set("Мин", zk::Value::Text("5")); }); },
     nullptr},
};
INSTANTIATE_TEST_SUITE_P(Ignored, RecordedComparisonTest, testing::ValuesIn(kIgnored),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PortableValueText, WritesEveryKindAsText) {
    using zk::Value;
    using zk::ValueType;
    const std::pair<Value, const char*> cases[] = {
        {Value{}, ""},
        {Value::Integer(ValueType::Null, 0), ""},
        {Value::Text("a \"b\""), "a \"b\""},
        {Value::Boolean(true), "True"},
        {Value::Integer(ValueType::I8, -9000000000), "-9000000000"},
        {Value::Unsigned(ValueType::UI8, 18000000000000000000ull), "18000000000000000000"},
        {Value::Real(ValueType::R8, 0.125), "0.125"},
        {Value::Real(ValueType::R8, 0.1), "0.1"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(PortableValueText(value), text);
}

} // namespace
} // namespace kvgen
