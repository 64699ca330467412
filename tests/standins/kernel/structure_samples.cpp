#include "structure_samples.h"

#include <cmath>
#include <limits>

namespace zk::testing {

Structure RichStructure() {
    Structure s;
    s.SetName("rich.ztp");
    EntityId part = s.AddClass("Деталь"); // derived before its base in class order
    EntityId item = s.AddClass("Item");
    EntityId tool = s.AddClass("Tool \"quoted\" <&>");
    s.AddAttribute(item, "code");
    EntityId mass = s.AddAttribute(item, "mass");
    s.AddAttribute(part, "material");
    s.SetBaseClass(part, item);
    s.MakeOwn(s.FindAttribute(part, "code"));
    s.SwapAttributes(part, "material", "mass");
    s.SetBaseClass(tool, part);

    s.SetClassScreenName(part, "Деталь изделия");
    s.SetClassBlocked(tool, true);
    s.SetClassPosition(item, -120, 3400);
    s.AddLink(item, "Деталь");
    s.AddLink(item, "Tool \"quoted\" <&>");
    s.AddLink(part, "Деталь");

    s.EditAttribute(mass, [](AttributeData& a) {
        a.type = 1;
        a.data_type = *GuidFromText("{C5F2B5E1-0D1A-4B4E-9E2A-1234567890AB}");
        a.screen_name = "Масса";
        a.alias_name = "m";
        a.group = "Physical";
        a.function_code = "\r\nfunction mass()\r\n  mass = 1\r\nend function\n\rlast\r\n";
        a.blocked = true;
        a.measure_unit = "кг";
        a.measure_entity = "масса";
        a.forbid_input = true;
        a.precision = -3;
        auto& p = a.properties;
        p.Set("text", Value::Text("line1\r\nline2 \"q\" \t\\"));
        p.Set("empty", Value{});
        p.Set("null", Value::Integer(ValueType::Null, 0));
        p.Set("bool", Value::Boolean(true));
        p.Set("i1", Value::Integer(ValueType::I1, -128));
        p.Set("i2", Value::Integer(ValueType::I2, 32767));
        p.Set("i4", Value::Integer(ValueType::I4, std::numeric_limits<std::int32_t>::min()));
        p.Set("i8", Value::Integer(ValueType::I8, std::numeric_limits<std::int64_t>::min()));
        p.Set("int", Value::Integer(ValueType::Int, 42));
        p.Set("ui1", Value::Unsigned(ValueType::UI1, 255));
        p.Set("ui2", Value::Unsigned(ValueType::UI2, 65535));
        p.Set("ui4", Value::Unsigned(ValueType::UI4, 4294967295u));
        p.Set("ui8", Value::Unsigned(ValueType::UI8, std::numeric_limits<std::uint64_t>::max()));
        p.Set("uint", Value::Unsigned(ValueType::UInt, 7));
        p.Set("r4", Value::Real(ValueType::R4, 0.1f));
        p.Set("r8", Value::Real(ValueType::R8, 0.1));
        p.Set("negative zero", Value::Real(ValueType::R8, -0.0));
        p.Set("nan", Value::Real(ValueType::R8, std::nan("")));
        p.Set("infinity", Value::Real(ValueType::R8, -std::numeric_limits<double>::infinity()));
        p.Set("tiny", Value::Real(ValueType::R8, std::numeric_limits<double>::denorm_min()));
        p.Set("currency", Value::Integer(ValueType::Currency, 123456789));
        p.Set("date", Value::Real(ValueType::Date, 45123.75));
    });

    s.CreateFilter("Детали", "Все детали");
    s.AddConstraint("Детали", "Деталь");
    s.AddConstraint("Детали", "Tool \"quoted\" <&>");
    s.CreateFilter("empty", "");
    s.SetModule("Common", "sub Hello()\r\n  MsgBox \"Привет\"\r\nend sub\r\n");
    s.SetModule("Blank", "");

    std::int32_t admins = s.AddGroup("{0A1B2C3D-0000-0000-0000-000000000001}", "Администраторы");
    std::int32_t users = s.AddGroup("users", "Users");
    s.SetRights(admins, s.Class(item).guid, -1 ^ 0x10);
    s.SetRights(admins, s.Declaring(mass).guid, 0);
    s.SetRights(users, s.Class(part).guid, 3);

    s.AddEventItem("OnSave", true);
    s.AddEventItem("OnLoad", false);
    s.SetEventHandler("UserGroup.xml", Guid{}, Guid{}, 0, "' model\r\nx = 1");
    s.SetEventHandler("UserGroup.xml", s.Class(item).guid, Guid{}, 19, "class handler");
    s.SetEventHandler("UserGroup.xml", s.Class(item).guid, s.Declaring(mass).guid, 23, "attr");
    s.SetEventGroup(EventGroup{"Empty.xml", {}});
    return s;
}

} // namespace zk::testing
