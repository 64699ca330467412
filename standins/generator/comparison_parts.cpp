#include "comparison_parts.h"

namespace kvgen {
namespace {

using zk::ClassData;
using zk::EntityId;
using zk::Structure;

std::vector<std::string> FilterNames(const Structure& structure) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < structure.FilterCount(); ++i)
        names.push_back(structure.FilterAt(i).name);
    return names;
}

std::vector<std::string> ModuleNames(const Structure& structure) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < structure.ModuleCount(); ++i)
        names.push_back(structure.ModuleAt(i).name);
    return names;
}

std::vector<std::string> Groups(const Structure& structure) {
    std::vector<std::string> groups;
    for (std::size_t i = 0; i < structure.GroupCount(); ++i)
        groups.push_back(structure.GroupAt(i).id + " (" + structure.GroupAt(i).name + ")");
    return groups;
}

// The group's rights on a class and on each of its own attributes that the other class has.
void CompareClassRights(ComparisonLines& lines, const std::string& group, const Structure& expected,
                        std::int32_t expected_group, const ClassData& expected_class,
                        const Structure& actual, std::int32_t actual_group,
                        const ClassData& actual_class) {
    const std::string where = "group " + Shown(group) + " class " + Shown(expected_class.name);
    lines.Compare(where, "rights", expected.GetRights(expected_group, expected_class.guid),
                  actual.GetRights(actual_group, actual_class.guid));
    for (const EntityId entry : expected_class.attributes) {
        if (expected.Attribute(entry).inherited_from)
            continue; // the rights of the declaring attribute
        const zk::AttributeData& data = expected.Declaring(entry);
        const EntityId other = actual.FindAttribute(actual_class.id, data.name);
        if (!other)
            continue;
        lines.Compare(where + " attribute " + Shown(data.name), "rights",
                      expected.GetRights(expected_group, data.guid),
                      actual.GetRights(actual_group, actual.Declaring(other).guid));
    }
}

} // namespace

void CompareFilters(ComparisonLines& lines, const Structure& expected, const Structure& actual) {
    lines.Compare("structure", "filters in order", FilterNames(expected), FilterNames(actual));
    for (std::size_t i = 0; i < expected.FilterCount(); ++i) {
        const zk::Filter& filter = expected.FilterAt(i);
        const zk::Filter* other = actual.FindFilter(filter.name);
        if (!other)
            continue;
        const std::string where = "filter " + Shown(filter.name);
        lines.Compare(where, "caption", filter.caption, other->caption);
        lines.CompareSets(where, "constraint", filter.constraints, other->constraints);
    }
}

void CompareModules(ComparisonLines& lines, const Structure& expected, const Structure& actual) {
    lines.Compare("structure", "modules in order", ModuleNames(expected), ModuleNames(actual));
    for (std::size_t i = 0; i < expected.ModuleCount(); ++i) {
        const zk::Module& module = expected.ModuleAt(i);
        if (const zk::Module* other = actual.FindModule(module.name))
            lines.Compare("module " + Shown(module.name), "text", CrLfCode(module.text),
                          CrLfCode(other->text));
    }
}

void CompareGroupsAndRights(ComparisonLines& lines, const Structure& expected,
                            const Structure& actual) {
    lines.Compare("structure", "groups in order", Groups(expected), Groups(actual));
    for (std::size_t g = 0; g < expected.GroupCount(); ++g) {
        const zk::Group& group = expected.GroupAt(g);
        const zk::Group* other = actual.FindGroupById(group.id);
        if (!other)
            continue;
        for (std::size_t i = 0; i < expected.ClassCount(); ++i) {
            const ClassData& cls = expected.Class(expected.ClassAt(i));
            if (const EntityId match = actual.FindClass(cls.name))
                CompareClassRights(lines, group.id, expected, group.handle, cls, actual,
                                   other->handle, actual.Class(match));
        }
    }
}

} // namespace kvgen
