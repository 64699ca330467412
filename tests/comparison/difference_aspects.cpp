#include "difference_aspects.h"

#include <optional>
#include <set>
#include <string_view>
#include <type_traits>

namespace kvtest {
namespace {

using zk::EntityId;
using zk::Structure;

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

template <class T> std::string Shown(const T& value) {
    if constexpr (std::is_same_v<T, std::string>)
        return Quoted(value);
    else if constexpr (std::is_same_v<T, bool>)
        return value ? "true" : "false";
    else if constexpr (std::is_same_v<T, zk::Guid>)
        return zk::GuidText(value);
    else if constexpr (std::is_same_v<T, std::optional<std::int32_t>>)
        return value ? std::to_string(*value) : "none";
    else
        return std::to_string(value);
}

// Collects difference lines, each prefixed with the place it is about.
class Differences {
public:
    template <class T>
    void Compare(const std::string& place, const char* what, const T& got, const T& expected) {
        if (!(got == expected))
            Add(place + ": " + what + " is " + Shown(got) + ", expected " + Shown(expected));
    }
    void CompareSets(const std::string& place, const char* what, const std::set<std::string>& got,
                     const std::set<std::string>& expected) {
        for (const std::string& name : expected)
            if (!got.contains(name))
                Add(place + ": " + what + " " + Quoted(name) + " is missing");
        for (const std::string& name : got)
            if (!expected.contains(name))
                Add(place + ": " + what + " " + Quoted(name) + " is not expected");
    }
    void Add(std::string line) { lines_.push_back(std::move(line)); }
    std::vector<std::string> Take() { return std::move(lines_); }

private:
    std::vector<std::string> lines_;
};

std::set<std::string> ClassNames(const Structure& s) {
    std::set<std::string> names;
    for (std::size_t i = 0; i < s.ClassCount(); ++i)
        names.insert(s.Class(s.ClassAt(i)).name);
    return names;
}

std::set<std::string> ChildNames(const Structure& s, EntityId cls) {
    std::set<std::string> names;
    for (EntityId child : s.Class(cls).children)
        names.insert(s.Class(child).name);
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

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + Quoted(name);
    return "[" + text + "]";
}

class AspectComparison {
public:
    AspectComparison(const Structure& original, const Structure& result, const Structure& target,
                     const ValueText& valueText)
        : original_(original), result_(result), target_(target), valueText_(valueText) {}

    std::vector<std::string> Run() {
        differences_.CompareSets("structure", "class", ClassNames(result_), ClassNames(target_));
        for (std::size_t i = 0; i < target_.ClassCount(); ++i) {
            const EntityId expected = target_.ClassAt(i);
            if (const EntityId got = result_.FindClass(target_.Class(expected).name))
                CompareClass(got, expected);
        }
        CompareFilters();
        CompareRights();
        return differences_.Take();
    }

private:
    void CompareClass(EntityId got, EntityId expected) {
        const zk::ClassData& g = result_.Class(got);
        const zk::ClassData& e = target_.Class(expected);
        const std::string place = "class " + Quoted(e.name);
        differences_.Compare(place, "screen name", g.screen_name, e.screen_name);
        differences_.Compare(place, "blocked", g.blocked, e.blocked);
        differences_.CompareSets(place, "child", ChildNames(result_, got),
                                 ChildNames(target_, expected));
        const EntityId before = original_.FindClass(e.name);
        if (!before) {
            differences_.Compare(place, "identifier", g.guid, e.guid);
            differences_.Compare(place, "x", g.x, e.x);
            differences_.Compare(place, "y", g.y, e.y);
            const std::string gotBase = g.base ? result_.Class(g.base).name : "";
            const std::string expectedBase = e.base ? target_.Class(e.base).name : "";
            differences_.Compare(place, "base", gotBase, expectedBase);
        }

        const std::set<std::string> expectedNames = AttributeNames(target_, expected);
        differences_.CompareSets(place, "attribute", AttributeNames(result_, got), expectedNames);
        const std::vector<std::string> expectedOrder =
            OrderedNames(target_, expected, nullptr, true);
        const std::set<std::string> own(expectedOrder.begin(), expectedOrder.end());
        const std::vector<std::string> gotOrder = OrderedNames(result_, got, &own, false);
        if (gotOrder != expectedOrder && AttributeNames(result_, got) == expectedNames)
            differences_.Add(place + ": own attributes in the order " + Joined(gotOrder) +
                             ", expected " + Joined(expectedOrder));

        for (EntityId entry : e.attributes) {
            const std::string& name = target_.Declaring(entry).name;
            if (const EntityId found = result_.FindAttribute(got, name)) {
                const bool isNew = !before || !original_.FindAttribute(before, name);
                CompareAttribute(place + ", attribute " + Quoted(name), result_.Declaring(found),
                                 target_.Declaring(entry), isNew);
            }
        }
    }

    void CompareAttribute(const std::string& place, const zk::AttributeData& g,
                          const zk::AttributeData& e, bool isNew) {
        differences_.Compare(place, "type", g.type, e.type);
        differences_.Compare(place, "data type", g.data_type, e.data_type);
        differences_.Compare(place, "function code", g.function_code, e.function_code);
        differences_.Compare(place, "blocked", g.blocked, e.blocked);
        differences_.Compare(place, "unit", g.measure_unit, e.measure_unit);
        differences_.Compare(place, "entity", g.measure_entity, e.measure_entity);
        differences_.Compare(place, "forbid input", g.forbid_input, e.forbid_input);
        if (isNew) {
            differences_.Compare(place, "identifier", g.guid, e.guid);
            differences_.Compare(place, "screen name", g.screen_name, e.screen_name);
            differences_.Compare(place, "alias", g.alias_name, e.alias_name);
            differences_.Compare(place, "group", g.group, e.group);
        }
        for (const auto& [name, value] : e.properties.Items()) {
            const zk::Value* found = g.properties.Find(name);
            if (!found) {
                differences_.Add(place + ": property " + Quoted(name) + " is missing");
                continue;
            }
            differences_.Compare(place + ", property " + Quoted(name), "value", valueText_(*found),
                                 valueText_(value));
        }
    }

    void CompareFilters() {
        std::set<std::string> got, expected;
        for (std::size_t i = 0; i < result_.FilterCount(); ++i)
            got.insert(result_.FilterAt(i).name);
        for (std::size_t i = 0; i < target_.FilterCount(); ++i)
            expected.insert(target_.FilterAt(i).name);
        differences_.CompareSets("structure", "filter", got, expected);
        for (std::size_t i = 0; i < target_.FilterCount(); ++i) {
            const zk::Filter& e = target_.FilterAt(i);
            if (const zk::Filter* g = result_.FindFilter(e.name))
                differences_.CompareSets("filter " + Quoted(e.name), "constraint",
                                         {g->constraints.begin(), g->constraints.end()},
                                         {e.constraints.begin(), e.constraints.end()});
        }
    }

    // The rights of each group of the target on every class and attribute entry of the target,
    // keyed in each structure by that structure's identifier of the object.
    void CompareRights() {
        for (std::size_t k = 0; k < target_.GroupCount(); ++k) {
            const zk::Group& expectedGroup = target_.GroupAt(k);
            const zk::Group* gotGroup = result_.FindGroupById(expectedGroup.id);
            if (!gotGroup) {
                differences_.Add("group " + Quoted(expectedGroup.id) + " is missing");
                continue;
            }
            const std::string group = "rights of " + Quoted(expectedGroup.id);
            for (std::size_t i = 0; i < target_.ClassCount(); ++i) {
                const zk::ClassData& e = target_.Class(target_.ClassAt(i));
                const EntityId got = result_.FindClass(e.name);
                if (!got)
                    continue;
                const std::string place = group + " on " + Quoted(e.name);
                differences_.Compare(place, "value",
                                     result_.GetRights(gotGroup->handle, result_.Class(got).guid),
                                     target_.GetRights(expectedGroup.handle, e.guid));
                for (EntityId entry : e.attributes) {
                    const zk::AttributeData& attribute = target_.Declaring(entry);
                    if (const EntityId found = result_.FindAttribute(got, attribute.name))
                        differences_.Compare(
                            place + "." + attribute.name, "value",
                            result_.GetRights(gotGroup->handle, result_.Declaring(found).guid),
                            target_.GetRights(expectedGroup.handle, attribute.guid));
                }
            }
        }
    }

    const Structure& original_;
    const Structure& result_;
    const Structure& target_;
    const ValueText& valueText_;
    Differences differences_;
};

} // namespace

std::vector<std::string> DifferenceAspects(const Structure& original, const Structure& result,
                                           const Structure& target, const ValueText& valueText) {
    return AspectComparison(original, result, target, valueText).Run();
}

} // namespace kvtest
