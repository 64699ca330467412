// kvgen::RandomEdits gives the convergence test what it needs: over a few seeds every kind of edit
// a difference carries occurs, the bases of common classes stay, and one seed gives one result.
#include "random_edits.h"
#include "random_structure.h"

#include "core/structure_file.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

using zk::EntityId;
using zk::Structure;

std::set<std::string> Names(const Structure& s, const std::vector<EntityId>& ids) {
    std::set<std::string> names;
    for (EntityId id : ids)
        names.insert(s.Class(id).name);
    return names;
}

std::string BaseName(const Structure& s, EntityId cls) {
    const EntityId base = s.Class(cls).base;
    return base ? s.Class(base).name : "";
}

// The kinds of edit seen between a structure and its edited copy.
class EditKinds {
public:
    void Collect(const Structure& a, const Structure& b) {
        for (std::size_t i = 0; i < a.ClassCount(); ++i)
            if (!b.FindClass(a.Class(a.ClassAt(i)).name))
                seen_.insert("class removed");
        for (std::size_t i = 0; i < b.ClassCount(); ++i) {
            const EntityId cls = b.ClassAt(i);
            const EntityId before = a.FindClass(b.Class(cls).name);
            if (!before) {
                seen_.insert(b.Class(cls).base ? "class added with a base" : "class added");
                continue;
            }
            CollectClass(a, before, b, cls);
        }
        for (std::size_t i = 0; i < b.FilterCount(); ++i) {
            const zk::Filter& filter = b.FilterAt(i);
            const zk::Filter* old = a.FindFilter(filter.name);
            if (!old) {
                seen_.insert("filter added");
                continue;
            }
            if (filter.constraints.size() > old->constraints.size())
                seen_.insert("constraint added");
            for (const std::string& value : old->constraints)
                if (!filter.constraint_set.contains(value))
                    seen_.insert("constraint removed");
        }
        if (b.FilterCount() < a.FilterCount() + 1)
            seen_.insert("filter removed");
        for (std::size_t g = 0; g < b.GroupCount(); ++g)
            if (b.GroupAt(g).rights != a.GroupAt(g).rights)
                seen_.insert("rights");
    }

    const std::set<std::string>& Seen() const { return seen_; }
    const std::vector<std::string>& ChangedBases() const { return changedBases_; }

private:
    void CollectClass(const Structure& a, EntityId before, const Structure& b, EntityId cls) {
        const zk::ClassData& old = a.Class(before);
        const zk::ClassData& now = b.Class(cls);
        if (BaseName(a, before) != BaseName(b, cls))
            changedBases_.push_back(now.name);
        if (old.screen_name != now.screen_name)
            seen_.insert("screen name");
        if (old.blocked != now.blocked)
            seen_.insert("class blocked");
        const std::set<std::string> oldChildren = Names(a, old.children);
        const std::set<std::string> children = Names(b, now.children);
        for (const std::string& child : children)
            if (!oldChildren.contains(child) && a.FindClass(child))
                seen_.insert("link added");
        for (const std::string& child : oldChildren)
            if (!children.contains(child) && b.FindClass(child))
                seen_.insert("link removed");
        for (std::size_t j = 0; j < now.attributes.size(); ++j) {
            const zk::AttributeData& data = b.Declaring(now.attributes[j]);
            const EntityId found = a.FindAttribute(before, data.name);
            if (!found) {
                if (!b.Attribute(now.attributes[j]).inherited_from)
                    seen_.insert(j == 0 ? "attribute added first" : "attribute added later");
                continue;
            }
            CollectAttribute(a.Declaring(found), data);
        }
        for (EntityId entry : old.attributes)
            if (!b.FindAttribute(cls, a.Declaring(entry).name))
                seen_.insert("attribute removed");
    }

    void CollectAttribute(const zk::AttributeData& old, const zk::AttributeData& now) {
        const std::pair<bool, const char*> fields[] = {
            {old.type != now.type, "type"},
            {old.data_type != now.data_type, "data type"},
            {old.function_code != now.function_code, "function code"},
            {old.blocked != now.blocked, "attribute blocked"},
            {old.measure_unit != now.measure_unit, "unit"},
            {old.measure_entity != now.measure_entity, "entity"},
            {old.forbid_input != now.forbid_input, "forbid input"},
        };
        for (const auto& [changed, what] : fields)
            if (changed)
                seen_.insert(what);
        for (const auto& [name, value] : now.properties.Items()) {
            const zk::Value* before = old.properties.Find(name);
            if (!before)
                seen_.insert("property added");
            else if (!(*before == value))
                seen_.insert("property changed");
        }
    }

    std::set<std::string> seen_;
    std::vector<std::string> changedBases_;
};

TEST(RandomEdits, EveryKindOfEditOccursAndCommonClassesKeepTheirBases) {
    EditKinds kinds;
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        const Structure a = kvgen::RandomStructure(seed);
        kinds.Collect(a, kvgen::RandomEdits(a, seed, 30));
    }
    const std::set<std::string> expected = {
        "class removed",
        "class added",
        "class added with a base",
        "screen name",
        "class blocked",
        "link added",
        "link removed",
        "attribute added first",
        "attribute added later",
        "attribute removed",
        "type",
        "data type",
        "function code",
        "attribute blocked",
        "unit",
        "entity",
        "forbid input",
        "property added",
        "property changed",
        "filter added",
        "filter removed",
        "constraint added",
        "constraint removed",
        "rights",
    };
    for (const std::string& kind : expected)
        EXPECT_TRUE(kinds.Seen().contains(kind)) << "never seen: " << kind;
    EXPECT_EQ(kinds.ChangedBases(), std::vector<std::string>{});
}

// A difference adds a common class's new attributes in its list order, and a derived class gets
// the inherited entries in the order they were added: the targets must hold them in that order,
// or a new attribute of the derived class placed behind one of them lands elsewhere. (Entries
// the base inherits itself come from classes edited before it, in the same order either way.)
TEST(RandomEdits, DerivedClassesHoldTheNewEntriesOfTheirBaseInTheBasesOrder) {
    const std::pair<kvgen::Shape, int> shapes[] = {{kvgen::Shape{}, 30}, {kvgen::Shape{}, 100}};
    for (const auto& [shape, percent] : shapes) {
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            const Structure a = kvgen::RandomStructure(seed, shape);
            const Structure b = kvgen::RandomEdits(a, seed, percent);
            for (std::size_t i = 0; i < b.ClassCount(); ++i) {
                const EntityId cls = b.ClassAt(i);
                const EntityId base = b.Class(cls).base;
                const EntityId baseBefore = base ? a.FindClass(b.Class(base).name) : 0;
                if (!baseBefore || !a.FindClass(b.Class(cls).name))
                    continue;
                // The base's new own attributes in its order, and their entries in the derived
                // class.
                std::vector<std::string> inBase, inDerived;
                std::set<std::string> added;
                for (EntityId entry : b.Class(base).attributes) {
                    const std::string& name = b.Declaring(entry).name;
                    if (!b.Attribute(entry).inherited_from && !a.FindAttribute(baseBefore, name)) {
                        inBase.push_back(name);
                        added.insert(name);
                    }
                }
                for (EntityId entry : b.Class(cls).attributes)
                    if (added.contains(b.Declaring(entry).name))
                        inDerived.push_back(b.Declaring(entry).name);
                EXPECT_EQ(inDerived, inBase)
                    << "seed " << seed << ", " << percent << "%: class " << b.Class(cls).name;
            }
        }
    }
}

TEST(RandomEdits, SameSeedSameEditsAndAShareOfTheClasses) {
    kvgen::Shape shape;
    shape.classes = 80;
    const Structure a = kvgen::RandomStructure(7, shape);
    const std::string first = zk::WriteStructureFile(kvgen::RandomEdits(a, 7, 10));
    EXPECT_EQ(zk::WriteStructureFile(kvgen::RandomEdits(a, 7, 10)), first);
    EXPECT_NE(zk::WriteStructureFile(kvgen::RandomEdits(a, 8, 10)), first);

    // A tenth of the classes is 8: a quarter of them removed, as many added.
    const Structure b = kvgen::RandomEdits(a, 7, 10);
    int removed = 0;
    for (std::size_t i = 0; i < a.ClassCount(); ++i)
        removed += b.FindClass(a.Class(a.ClassAt(i)).name) ? 0 : 1;
    EXPECT_EQ(removed, 2);
    EXPECT_EQ(b.ClassCount(), a.ClassCount());
}

} // namespace
