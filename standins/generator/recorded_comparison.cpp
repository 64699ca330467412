#include "recorded_comparison.h"

#include "comparison_lines.h"
#include "comparison_parts.h"

#include <charconv>

namespace kvgen {
namespace {

using zk::AttributeData;
using zk::ClassData;
using zk::EntityId;
using zk::Structure;

std::string ClassWhere(const std::string& name) {
    return "class " + Shown(name);
}

std::string AttributeWhere(const std::string& cls, const std::string& attribute) {
    return ClassWhere(cls) + " attribute " + Shown(attribute);
}

std::string PositionText(const ClassData& cls) {
    return "(" + std::to_string(cls.x) + ", " + std::to_string(cls.y) + ")";
}

std::vector<std::string> ClassNames(const Structure& structure) {
    std::vector<std::string> names;
    names.reserve(structure.ClassCount());
    for (std::size_t i = 0; i < structure.ClassCount(); ++i)
        names.push_back(structure.Class(structure.ClassAt(i)).name);
    return names;
}

std::vector<std::string> ChildNames(const Structure& structure, const ClassData& cls) {
    std::vector<std::string> names;
    for (const EntityId child : cls.children)
        names.push_back(structure.Class(child).name);
    return names;
}

std::string BaseName(const Structure& structure, const ClassData& cls) {
    return cls.base ? structure.Class(cls.base).name : std::string();
}

struct Entry {
    std::string name;
    bool inherited = false;
};

std::vector<Entry> Entries(const Structure& structure, const ClassData& cls) {
    std::vector<Entry> entries;
    entries.reserve(cls.attributes.size());
    for (const EntityId id : cls.attributes)
        entries.push_back(
            {structure.Declaring(id).name, structure.Attribute(id).inherited_from != 0});
    return entries;
}

// "name" = "value text", in the list's order.
std::vector<std::string> ShownProperties(const zk::Properties& properties,
                                         const ValueText& value_text) {
    std::vector<std::string> shown;
    for (const auto& [name, value] : properties.Items())
        shown.push_back(Shown(name) + " = " + Shown(value_text(value)));
    return shown;
}

// Every field that the attribute fragment of a recording writes; blocked and precision are not.
void CompareAttributeData(ComparisonLines& lines, const std::string& where,
                          const AttributeData& expected, const AttributeData& actual,
                          const ValueText& value_text) {
    lines.Compare(where, "identifier", zk::GuidText(expected.guid), zk::GuidText(actual.guid));
    lines.Compare(where, "type", expected.type, actual.type);
    lines.Compare(where, "data type", zk::GuidText(expected.data_type),
                  zk::GuidText(actual.data_type));
    lines.Compare(where, "screen name", expected.screen_name, actual.screen_name);
    lines.Compare(where, "alias name", expected.alias_name, actual.alias_name);
    lines.Compare(where, "group", expected.group, actual.group);
    lines.Compare(where, "function code", CrLfCode(expected.function_code),
                  CrLfCode(actual.function_code));
    lines.Compare(where, "measure unit", expected.measure_unit, actual.measure_unit);
    lines.Compare(where, "measure entity", expected.measure_entity, actual.measure_entity);
    lines.Compare(where, "forbid input", expected.forbid_input, actual.forbid_input);
    const std::vector<std::string> expected_properties =
        ShownProperties(expected.properties, value_text);
    const std::vector<std::string> actual_properties =
        ShownProperties(actual.properties, value_text);
    if (expected_properties != actual_properties)
        lines.Differ(where, "properties", Listed(expected_properties), Listed(actual_properties));
}

void CompareAttributes(ComparisonLines& lines, const Structure& expected_structure,
                       const ClassData& expected, const Structure& actual_structure,
                       const ClassData& actual, const ValueText& value_text) {
    const std::vector<Entry> expected_entries = Entries(expected_structure, expected);
    const std::vector<Entry> actual_entries = Entries(actual_structure, actual);
    std::vector<std::string> expected_names, actual_names;
    for (const Entry& entry : expected_entries)
        expected_names.push_back(entry.name);
    for (const Entry& entry : actual_entries)
        actual_names.push_back(entry.name);
    lines.Compare(ClassWhere(expected.name), "attributes in order", expected_names, actual_names);

    for (std::size_t i = 0; i < expected_entries.size(); ++i) {
        const EntityId actual_id = actual_structure.FindAttribute(actual.id, expected_names[i]);
        if (!actual_id)
            continue; // shown by the list above
        const std::string where = AttributeWhere(expected.name, expected_names[i]);
        const bool actual_inherited = actual_structure.Attribute(actual_id).inherited_from != 0;
        if (expected_entries[i].inherited != actual_inherited) {
            lines.Differ(where, "status", expected_entries[i].inherited ? "inherited" : "own",
                         actual_inherited ? "inherited" : "own");
        } else if (!actual_inherited) { // an inherited entry is compared where it is declared
            CompareAttributeData(lines, where, expected_structure.Declaring(expected.attributes[i]),
                                 actual_structure.Declaring(actual_id), value_text);
        }
    }
}

void CompareClass(ComparisonLines& lines, const Structure& expected_structure,
                  const ClassData& expected, const Structure& actual_structure,
                  const ClassData& actual, const ValueText& value_text) {
    const std::string where = ClassWhere(expected.name);
    lines.Compare(where, "identifier", zk::GuidText(expected.guid), zk::GuidText(actual.guid));
    lines.Compare(where, "screen name", expected.screen_name, actual.screen_name);
    if (expected.x != actual.x || expected.y != actual.y)
        lines.Differ(where, "position", PositionText(expected), PositionText(actual));
    lines.Compare(where, "base class", BaseName(expected_structure, expected),
                  BaseName(actual_structure, actual));
    lines.CompareSets(where, "child link to", ChildNames(expected_structure, expected),
                      ChildNames(actual_structure, actual));
    CompareAttributes(lines, expected_structure, expected, actual_structure, actual, value_text);
}

void CompareClasses(ComparisonLines& lines, const Structure& expected, const Structure& actual,
                    const ValueText& value_text) {
    lines.CompareSets("structure", "class", ClassNames(expected), ClassNames(actual));
    for (std::size_t i = 0; i < expected.ClassCount(); ++i) {
        const ClassData& cls = expected.Class(expected.ClassAt(i));
        if (const EntityId other = actual.FindClass(cls.name))
            CompareClass(lines, expected, cls, actual, actual.Class(other), value_text);
    }
}

} // namespace

std::string PortableValueText(const zk::Value& value) {
    using zk::ValueType;
    if (value.type == ValueType::Empty || value.type == ValueType::Null)
        return {};
    if (value.type == ValueType::String)
        return value.text;
    if (value.type == ValueType::Bool)
        return value.integer ? "True" : "False";
    if (zk::IsSignedIntegerType(value.type) || value.type == ValueType::Currency)
        return std::to_string(value.integer);
    if (zk::IsUnsignedIntegerType(value.type))
        return std::to_string(value.unsigned_integer);
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value.real).ptr;
    return std::string(digits, end);
}

std::vector<std::string> RecordedComparison(const Structure& expected, const Structure& actual,
                                            const ValueText& value_text) {
    ComparisonLines lines;
    CompareClasses(lines, expected, actual, value_text);
    CompareFilters(lines, expected, actual);
    CompareModules(lines, expected, actual);
    CompareGroupsAndRights(lines, expected, actual);
    return lines.Take();
}

} // namespace kvgen
