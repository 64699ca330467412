#include "difference_aspects.h"

#include "comparison_lines.h"

#include <set>

namespace kvtest {
namespace {

using zk::EntityId;
using zk::Structure;

std::vector<std::string> ClassNames(const Structure& s) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < s.ClassCount(); ++i)
        names.push_back(s.Class(s.ClassAt(i)).name);
    return names;
}

std::vector<std::string> ChildNames(const Structure& s, EntityId cls) {
    std::vector<std::string> names;
    for (EntityId child : s.Class(cls).children)
        names.push_back(s.Class(child).name);
    return names;
}

std::set<std::string> AttributeNames(const Structure& s, EntityId cls) {
    std::set<std::string> names;
    for (EntityId entry : s.Class(cls).attributes)
        names.insert(s.Declaring(entry).name);
    return names;
}

// The names of the class's entries in list order, only those in `kept` (all when null).
std::vector<std::string> OrderedNames(const Structure& s, EntityId cls,
                                      const std::set<std::string>* kept, bool ownOnly) {
    std::vector<std::string> names;
    for (EntityId entry : s.Class(cls).attributes) {
        if (ownOnly && s.Attribute(entry).inherited_from)
            continue;
        const std::string& name = s.Declaring(entry).name;
        if (!kept || kept->contains(name))
            names.push_back(name);
    }
    return names;
}

class AspectComparison {
public:
    AspectComparison(const Structure& original, const Structure& result, const Structure& target,
                     const ValueText& valueText)
        : original_(original), result_(result), target_(target), valueText_(valueText) {}

    std::vector<std::string> Run() {
        lines_.CompareSets("structure", "class", ClassNames(target_), ClassNames(result_));
        for (std::size_t i = 0; i < target_.ClassCount(); ++i) {
            const EntityId expected = target_.ClassAt(i);
            if (const EntityId got = result_.FindClass(target_.Class(expected).name))
                CompareClass(got, expected);
        }
        CompareFilters();
        CompareRights();
        return lines_.Take();
    }

private:
    void CompareClass(EntityId got, EntityId expected) {
        const zk::ClassData& g = result_.Class(got);
        const zk::ClassData& e = target_.Class(expected);
        const std::string place = "class " + kvgen::Shown(e.name);
        lines_.Compare(place, "screen name", e.screen_name, g.screen_name);
        lines_.Compare(place, "blocked", e.blocked, g.blocked);
        lines_.CompareSets(place, "child", ChildNames(target_, expected), ChildNames(result_, got));
        const EntityId before = original_.FindClass(e.name);
        if (!before) {
            lines_.Compare(place, "identifier", zk::GuidText(e.guid), zk::GuidText(g.guid));
            lines_.Compare(place, "x", e.x, g.x);
            lines_.Compare(place, "y", e.y, g.y);
            const std::string expectedBase = e.base ? target_.Class(e.base).name : "";
            const std::string gotBase = g.base ? result_.Class(g.base).name : "";
            lines_.Compare(place, "base", expectedBase, gotBase);
        }

        const std::set<std::string> expectedNames = AttributeNames(target_, expected);
        const std::set<std::string> gotNames = AttributeNames(result_, got);
        lines_.CompareSets(place, "attribute", {expectedNames.begin(), expectedNames.end()},
                           {gotNames.begin(), gotNames.end()});
        // Where the names agree, the target's own attributes in its order.
        const std::vector<std::string> expectedOrder =
            OrderedNames(target_, expected, nullptr, true);
        const std::set<std::string> own(expectedOrder.begin(), expectedOrder.end());
        if (gotNames == expectedNames)
            lines_.Compare(place, "own attributes in order", expectedOrder,
                           OrderedNames(result_, got, &own, false));

        for (EntityId entry : e.attributes) {
            const std::string& name = target_.Declaring(entry).name;
            if (const EntityId found = result_.FindAttribute(got, name)) {
                const bool isNew = !before || !original_.FindAttribute(before, name);
                CompareAttribute(place + ", attribute " + kvgen::Shown(name),
                                 target_.Declaring(entry), result_.Declaring(found), isNew);
            }
        }
    }

    void CompareAttribute(const std::string& place, const zk::AttributeData& e,
                          const zk::AttributeData& g, bool isNew) {
        lines_.Compare(place, "type", e.type, g.type);
        lines_.Compare(place, "data type", zk::GuidText(e.data_type), zk::GuidText(g.data_type));
        lines_.Compare(place, "function code", e.function_code, g.function_code);
        lines_.Compare(place, "blocked", e.blocked, g.blocked);
        lines_.Compare(place, "unit", e.measure_unit, g.measure_unit);
        lines_.Compare(place, "entity", e.measure_entity, g.measure_entity);
        lines_.Compare(place, "forbid input", e.forbid_input, g.forbid_input);
        if (isNew) {
            lines_.Compare(place, "identifier", zk::GuidText(e.guid), zk::GuidText(g.guid));
            lines_.Compare(place, "screen name", e.screen_name, g.screen_name);
            lines_.Compare(place, "alias", e.alias_name, g.alias_name);
            lines_.Compare(place, "group", e.group, g.group);
        }
        for (const auto& [name, value] : e.properties.Items()) {
            const std::string where = place + ", property " + kvgen::Shown(name);
            if (const zk::Value* found = g.properties.Find(name))
                lines_.Compare(where, "value", valueText_(value), valueText_(*found));
            else
                lines_.Note(where, "is missing");
        }
    }

    void CompareFilters() {
        std::vector<std::string> expected, got;
        for (std::size_t i = 0; i < target_.FilterCount(); ++i)
            expected.push_back(target_.FilterAt(i).name);
        for (std::size_t i = 0; i < result_.FilterCount(); ++i)
            got.push_back(result_.FilterAt(i).name);
        lines_.CompareSets("structure", "filter", expected, got);
        for (std::size_t i = 0; i < target_.FilterCount(); ++i) {
            const zk::Filter& e = target_.FilterAt(i);
            if (const zk::Filter* g = result_.FindFilter(e.name))
                lines_.CompareSets("filter " + kvgen::Shown(e.name), "constraint", e.constraints,
                                   g->constraints);
        }
    }

    // The rights of each group of the target on every class and attribute entry of the target,
    // keyed in each structure by that structure's identifier of the object.
    void CompareRights() {
        for (std::size_t k = 0; k < target_.GroupCount(); ++k) {
            const zk::Group& expectedGroup = target_.GroupAt(k);
            const std::string group = "rights of " + kvgen::Shown(expectedGroup.id);
            const zk::Group* gotGroup = result_.FindGroupById(expectedGroup.id);
            if (!gotGroup) {
                lines_.Note(group, "the group is missing");
                continue;
            }
            const auto compare = [&](const std::string& where, const zk::Guid& expectedKey,
                                     const zk::Guid& gotKey) {
                lines_.Compare(where, "value", target_.GetRights(expectedGroup.handle, expectedKey),
                               result_.GetRights(gotGroup->handle, gotKey));
            };
            for (std::size_t i = 0; i < target_.ClassCount(); ++i) {
                const zk::ClassData& e = target_.Class(target_.ClassAt(i));
                const EntityId got = result_.FindClass(e.name);
                if (!got)
                    continue;
                const std::string place = group + " on " + kvgen::Shown(e.name);
                compare(place, e.guid, result_.Class(got).guid);
                for (EntityId entry : e.attributes) {
                    const zk::AttributeData& attribute = target_.Declaring(entry);
                    if (const EntityId found = result_.FindAttribute(got, attribute.name))
                        compare(place + "." + attribute.name, attribute.guid,
                                result_.Declaring(found).guid);
                }
            }
        }
    }

    const Structure& original_;
    const Structure& result_;
    const Structure& target_;
    const ValueText& valueText_;
    kvgen::ComparisonLines lines_;
};

} // namespace

std::vector<std::string> DifferenceAspects(const Structure& original, const Structure& result,
                                           const Structure& target, const ValueText& valueText) {
    return AspectComparison(original, result, target, valueText).Run();
}

} // namespace kvtest
