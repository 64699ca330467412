#include "structure_description.h"

#include <cstdio>
#include <sstream>

namespace zk::testing {

namespace {

std::string ValueText(const Value& value) {
    std::ostringstream out;
    out << ValueTypeName(value.type) << ":";
    if (value.type == ValueType::String)
        out << '"' << value.text << '"';
    else if (IsSignedIntegerType(value.type))
        out << value.integer;
    else if (IsUnsignedIntegerType(value.type))
        out << value.unsigned_integer;
    else if (IsRealType(value.type)) {
        char text[64];
        std::snprintf(text, sizeof text, "%a", value.real); // exact bits
        out << text;
    }
    return out.str();
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

} // namespace

std::string AttributeList(const Structure& structure, std::string_view class_name) {
    EntityId cls = structure.FindClass(class_name);
    if (!cls)
        return "(no class)";
    std::string list;
    for (std::size_t i = 0; i < structure.AttributeCount(cls); ++i) {
        EntityId entry = structure.AttributeAt(cls, i);
        list += (list.empty() ? "" : " ") + structure.Declaring(entry).name;
        if (structure.Attribute(entry).inherited_from)
            list += "^";
    }
    return list;
}

std::string Describe(const Structure& s) {
    std::ostringstream out;
    out << "model " << s.Name() << "\n";
    for (std::size_t i = 0; i < s.ClassCount(); ++i) {
        const ClassData& cls = s.Class(s.ClassAt(i));
        out << "class " << cls.name << " " << GuidText(cls.guid) << " screen=" << cls.screen_name
            << " base=" << (cls.base ? s.Class(cls.base).name : "-") << " blocked=" << cls.blocked
            << " at " << cls.x << "," << cls.y << "\n";
        for (EntityId child : cls.children)
            out << "  child " << s.Class(child).name << "\n";
        for (std::size_t j = 0; j < s.AttributeCount(cls.id); ++j) {
            EntityId entry = s.AttributeAt(cls.id, j);
            const AttributeData& a = s.Declaring(entry);
            out << "  attribute " << a.name
                << (s.Attribute(entry).inherited_from ? " (inherited)" : "") << " "
                << GuidText(a.guid) << " type=" << a.type << " data=" << GuidText(a.data_type)
                << " screen=" << a.screen_name << " alias=" << a.alias_name << " group=" << a.group
                << " code=" << Escaped(a.function_code) << " blocked=" << a.blocked
                << " unit=" << a.measure_unit << " entity=" << a.measure_entity
                << " forbid=" << a.forbid_input << " precision=" << a.precision << "\n";
            for (const auto& [name, value] : a.properties.Items())
                out << "    property " << name << " = " << ValueText(value) << "\n";
        }
    }
    for (std::size_t i = 0; i < s.FilterCount(); ++i) {
        const Filter& filter = s.FilterAt(i);
        out << "filter " << filter.name << " caption=" << filter.caption << " constraints=";
        for (const auto& constraint : filter.constraints)
            out << constraint << ";";
        out << "\n";
    }
    for (std::size_t i = 0; i < s.ModuleCount(); ++i)
        out << "module " << s.ModuleAt(i).name << " = " << Escaped(s.ModuleAt(i).text) << "\n";
    for (std::size_t i = 0; i < s.GroupCount(); ++i) {
        const Group& group = s.GroupAt(i);
        out << "group " << group.id << " name=" << group.name << "\n";
        for (const auto& [key, rights] : RightsInKeyOrder(group))
            out << "  rights " << GuidText(key) << " = " << rights << "\n";
    }
    for (std::size_t i = 0; i < s.EventItemCount(); ++i)
        out << "event item " << s.EventItemAt(i).name << " allow=" << s.EventItemAt(i).allow_changes
            << "\n";
    for (const auto& group : s.EventGroups()) {
        out << "event group " << group.name << "\n";
        for (const auto& handler : group.handlers)
            out << "  handler " << GuidText(handler.owner) << " " << GuidText(handler.attribute)
                << " kind=" << handler.kind << " code=" << Escaped(handler.code) << "\n";
    }
    return out.str();
}

} // namespace zk::testing
