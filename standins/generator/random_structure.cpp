#include "random_structure.h"

#include "dice.h"
#include "random_texts.h"
#include "random_values.h"

#include <algorithm>
#include <numeric>

namespace kvgen {
namespace {

using zk::EntityId;
using zk::Structure;

std::uint32_t Count(int value) {
    return static_cast<std::uint32_t>(std::max(value, 0));
}

// The classes in the order they are filled: a base always before the classes derived from it.
struct ClassPlan {
    std::string name;
    int base = -1; // index of the base in the plan
    int depth = 0; // bases above the class
    EntityId id = 0;
};

std::vector<ClassPlan> PlanClasses(Dice& dice, const Shape& shape) {
    std::vector<ClassPlan> plan(Count(shape.classes));
    for (std::size_t i = 0; i < plan.size(); ++i) {
        plan[i].name = ClassName(dice, static_cast<int>(i));
        if (i == 0 || !dice.Chance(Count(shape.base_percent)))
            continue;
        const auto base = static_cast<int>(dice.Below(static_cast<std::uint32_t>(i)));
        if (plan[base].depth < shape.max_depth) {
            plan[i].base = base;
            plan[i].depth = plan[base].depth + 1;
        }
    }
    return plan;
}

// Inherited entries cut into own ones keep or change their identifier and differ from their
// source in a few fields, so a replay that kept them inherited is noticed.
void CutInheritance(Structure& structure, Dice& dice, EntityId cls, const Shape& shape) {
    const std::size_t count = structure.AttributeCount(cls);
    for (std::size_t i = 0; i < count; ++i) {
        const EntityId entry = structure.AttributeAt(cls, i);
        if (!dice.Chance(Count(shape.cut_percent)))
            continue;
        structure.MakeOwn(entry);
        if (dice.Chance(50))
            structure.SetAttributeGuid(entry, DrawnGuid(dice));
        std::string screen_name = ScreenText(dice);
        std::string unit = ShortWord(dice);
        zk::Value value = RandomValue(dice);
        structure.EditAttribute(entry, [&](zk::AttributeData& data) {
            data.screen_name = std::move(screen_name);
            data.measure_unit = std::move(unit);
            data.properties.Set("Срез", std::move(value));
        });
    }
}

void FillClass(Structure& structure, Dice& dice, const std::vector<ClassPlan>& plan,
               const ClassPlan& cls, const std::vector<zk::Guid>& data_types, const Shape& shape,
               int& attribute_serial) {
    structure.SetClassGuid(cls.id, DrawnGuid(dice));
    structure.SetClassScreenName(cls.id, ScreenText(dice));
    structure.SetClassBlocked(cls.id, dice.Chance(20));
    const std::int32_t x = dice.Between(-500, 6000);
    const std::int32_t y = dice.Between(-500, 4000);
    structure.SetClassPosition(cls.id, x, y);
    // The base first: a replay sets it before it adds the class's own attributes, so inherited
    // entries come first in both.
    if (cls.base >= 0) {
        structure.SetBaseClass(cls.id, plan[cls.base].id);
        CutInheritance(structure, dice, cls.id, shape);
    }
    for (std::uint32_t k = 0; k < Count(shape.attributes_per_class); ++k) {
        const EntityId attribute =
            structure.AddAttribute(cls.id, AttributeName(dice, attribute_serial++));
        structure.SetAttributeGuid(attribute, DrawnGuid(dice));
        structure.EditAttribute(attribute, [&](zk::AttributeData& data) {
            FillAttribute(dice, data_types, shape.properties_per_attribute, data);
        });
    }
}

void AddLinks(Structure& structure, Dice& dice, const std::vector<ClassPlan>& plan,
              const Shape& shape) {
    if (plan.empty())
        return;
    const auto count = static_cast<std::uint32_t>(plan.size());
    for (const ClassPlan& parent : plan) {
        const std::uint32_t children = dice.Below(Count(shape.children_per_class) + 1);
        for (std::uint32_t k = 0; k < children; ++k)
            structure.AddLink(parent.id, plan[dice.Below(count)].name);
    }
    const ClassPlan& own_child = plan[dice.Below(count)];
    structure.AddLink(own_child.id, own_child.name);
}

void AddFilters(Structure& structure, Dice& dice, const std::vector<ClassPlan>& plan,
                const Shape& shape) {
    for (std::uint32_t f = 0; f < Count(shape.filters); ++f) {
        const std::string name = FilterName(dice, static_cast<int>(f));
        structure.CreateFilter(name, ScreenText(dice));
        const std::uint32_t constraints = dice.Below(Count(shape.constraints_per_filter) + 1);
        for (std::uint32_t k = 0; k < constraints; ++k) {
            // Constraints are texts: now and then one names no class of the structure.
            if (plan.empty() || dice.Chance(10))
                structure.AddConstraint(name, "Нет такого класса " + std::to_string(k));
            else
                structure.AddConstraint(name, dice.Pick(plan).name);
        }
    }
}

void AddModules(Structure& structure, Dice& dice, const Shape& shape) {
    for (std::uint32_t m = 0; m < Count(shape.modules); ++m) {
        std::string name = ModuleName(dice, static_cast<int>(m));
        structure.SetModule(name, ModuleText(dice));
    }
}

// Rights masks 0..31 (0 is a right of its own: "no rights" differs from "no entry").
void AddGroups(Structure& structure, Dice& dice, const std::vector<ClassPlan>& plan,
               const Shape& shape) {
    for (std::uint32_t g = 0; g < Count(shape.groups); ++g) {
        std::string id = GroupIdentifier(dice, static_cast<int>(g));
        const std::int32_t handle = structure.AddGroup(id, GroupName(dice, static_cast<int>(g)));
        for (const ClassPlan& cls : plan) {
            const zk::ClassData& data = structure.Class(cls.id);
            if (dice.Chance(Count(shape.rights_percent)))
                structure.SetRights(handle, data.guid, dice.Between(0, 31));
            for (const EntityId entry : data.attributes) {
                if (structure.Attribute(entry).inherited_from)
                    continue; // the key is the declaring attribute's
                if (dice.Chance(Count(shape.rights_percent)))
                    structure.SetRights(handle, structure.Declaring(entry).guid,
                                        dice.Between(0, 31));
            }
        }
    }
}

} // namespace

Shape Shape::Benchmark(int classes) {
    Shape shape;
    shape.classes = classes;
    shape.attributes_per_class = 25;
    shape.groups = 8;
    shape.filters = classes / 10;
    shape.modules = 50;
    return shape;
}

Shape Shape::Bare() {
    Shape shape;
    shape.classes = 4;
    shape.attributes_per_class = 0;
    shape.groups = 0;
    shape.filters = 0;
    shape.modules = 0;
    return shape;
}

Structure RandomStructure(std::uint32_t seed, const Shape& shape) {
    Dice dice(seed);
    Structure structure;
    structure.SetName("random " + std::to_string(seed));
    std::vector<ClassPlan> plan = PlanClasses(dice, shape);

    // Created in a shuffled order, so derived classes often come before their bases.
    std::vector<std::size_t> creation(plan.size());
    std::iota(creation.begin(), creation.end(), std::size_t{0});
    dice.Shuffle(creation);
    for (const std::size_t i : creation)
        plan[i].id = structure.AddClass(plan[i].name);

    std::vector<zk::Guid> data_types;
    for (int i = 0; i < 6; ++i)
        data_types.push_back(DrawnGuid(dice));
    int attribute_serial = 0;
    for (const ClassPlan& cls : plan)
        FillClass(structure, dice, plan, cls, data_types, shape, attribute_serial);

    AddLinks(structure, dice, plan, shape);
    AddFilters(structure, dice, plan, shape);
    AddModules(structure, dice, shape);
    AddGroups(structure, dice, plan, shape);
    structure.SetModified(false);
    return structure;
}

Structure GroupsOnly(const Structure& structure) {
    Structure groups;
    for (std::size_t i = 0; i < structure.GroupCount(); ++i) {
        const zk::Group& group = structure.GroupAt(i);
        groups.AddGroup(group.id, group.name);
    }
    groups.SetModified(false);
    return groups;
}

} // namespace kvgen
