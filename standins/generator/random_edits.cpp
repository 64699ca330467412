#include "random_edits.h"

#include "comparison_lines.h"
#include "dice.h"
#include "random_texts.h"
#include "random_values.h"

#include <algorithm>
#include <set>

namespace kvgen {
namespace {

using zk::EntityId;
using zk::Structure;

// Serial numbers of new names lie far above those of a generated structure, so a new name never
// meets an old one.
constexpr int kFirstNewSerial = 1000000;
constexpr int kMaxProperties = 3;

class Editor {
public:
    Editor(Structure& structure, std::uint32_t seed, int percent)
        : s_(structure), dice_(seed),
          touched_(std::max<std::uint32_t>(
              1, static_cast<std::uint32_t>(structure.ClassCount()) *
                     static_cast<std::uint32_t>(std::clamp(percent, 0, 100)) / 100)) {
        for (int i = 0; i < 4; ++i)
            data_types_.push_back(DrawnGuid(dice_));
    }

    void Run() {
        RemoveClasses();
        EditClasses();
        EditAttributesInVectorOrder();
        AddClasses();
        EditLinks();
        EditFilters();
        EditRights();
        s_.SetModified(false);
    }

private:
    std::uint32_t Quarter() const { return (touched_ + 3) / 4; }

    bool HasClasses() const { return s_.ClassCount() > 0; }

    EntityId RandomClass() {
        return s_.ClassAt(dice_.Below(static_cast<std::uint32_t>(s_.ClassCount())));
    }

    const std::string& NameOf(EntityId cls) const { return s_.Class(cls).name; }

    // The class's own entries; inherited ones are edited through their base.
    std::vector<EntityId> OwnAttributes(EntityId cls) const {
        std::vector<EntityId> own;
        for (EntityId entry : s_.Class(cls).attributes)
            if (!s_.Attribute(entry).inherited_from)
                own.push_back(entry);
        return own;
    }

    std::string Code() { return CrLfCode(FunctionCode(dice_)); }

    // A new own attribute with every field drawn, at the end of the class's list.
    EntityId NewAttribute(EntityId cls) {
        const EntityId id = s_.AddAttribute(cls, AttributeName(dice_, serial_++));
        s_.SetAttributeGuid(id, DrawnGuid(dice_));
        std::string code = Code();
        s_.EditAttribute(id, [&](zk::AttributeData& data) {
            FillAttribute(dice_, data_types_, kMaxProperties, data);
            data.function_code = std::move(code);
        });
        return id;
    }

    // Only classes no class derives from: the bases of the remaining classes stay as they are.
    void RemoveClasses() {
        for (std::uint32_t k = 0; k < Quarter(); ++k) {
            std::vector<EntityId> leaves;
            for (std::size_t i = 0; i < s_.ClassCount(); ++i)
                if (s_.Class(s_.ClassAt(i)).derived.empty())
                    leaves.push_back(s_.ClassAt(i));
            if (leaves.empty())
                return;
            s_.RemoveClass(std::string(NameOf(dice_.Pick(leaves))));
        }
    }

    void EditClasses() {
        for (std::uint32_t k = 0; k < touched_ && HasClasses(); ++k) {
            const EntityId cls = RandomClass();
            const std::uint32_t what = dice_.Below(3);
            if (what != 1)
                s_.SetClassScreenName(cls, ScreenText(dice_) + " (изм.)");
            if (what != 0)
                s_.SetClassBlocked(cls, !s_.Class(cls).blocked);
        }
    }

    void EditAttributesInVectorOrder() {
        if (!HasClasses())
            return;
        std::vector<EntityId> chosen;
        for (std::uint32_t k = 0; k < touched_; ++k)
            chosen.push_back(RandomClass());
        for (std::size_t i = 0; i < s_.ClassCount(); ++i) {
            const EntityId cls = s_.ClassAt(i);
            const auto times = std::count(chosen.begin(), chosen.end(), cls);
            for (std::ptrdiff_t t = 0; t < times; ++t)
                EditAttributes(cls);
        }
    }

    void EditAttributes(EntityId cls) {
        if (dice_.Chance(50))
            RemoveOwnAttribute(cls);
        const std::uint32_t added = 1 + dice_.Below(2);
        for (std::uint32_t k = 0; k < added; ++k)
            InsertAttribute(cls);
        const std::vector<EntityId> own = OwnAttributes(cls);
        if (own.empty())
            return;
        EditParameters(dice_.Pick(own));
        EditProperties(dice_.Pick(own));
    }

    // An own attribute that hides no entry of the base: removing it leaves nothing behind.
    void RemoveOwnAttribute(EntityId cls) {
        const EntityId base = s_.Class(cls).base;
        std::vector<EntityId> removable;
        for (EntityId entry : OwnAttributes(cls))
            if (!base || !s_.FindAttribute(base, s_.Declaring(entry).name))
                removable.push_back(entry);
        if (!removable.empty())
            s_.RemoveAttribute(cls, std::string(s_.Declaring(dice_.Pick(removable)).name));
    }

    // A new attribute moved from the end of the list to a drawn position behind the class's
    // earlier new ones. A difference adds a class's new attributes in list order, and the classes
    // derived from it get their inherited entries in the order the attributes were added: made in
    // list order here too, those entries come in the same order either way.
    void InsertAttribute(EntityId cls) {
        const EntityId made = NewAttribute(cls);
        made_.insert(made);
        const std::string name = s_.Declaring(made).name;
        const std::vector<EntityId>& entries = s_.Class(cls).attributes;
        const std::size_t count = entries.size();
        std::size_t first = 0;
        for (std::size_t i = 0; i + 1 < count; ++i)
            if (made_.contains(entries[i]))
                first = i + 1;
        const std::size_t position = first + dice_.Below(static_cast<std::uint32_t>(count - first));
        for (std::size_t i = count - 1; i > position; --i)
            s_.SwapAttributes(cls, name,
                              std::string(s_.Declaring(s_.AttributeAt(cls, i - 1)).name));
    }

    void EditParameters(EntityId attribute) {
        const std::uint32_t fields = 1 + dice_.Below(127); // a non-empty subset of seven
        const std::int32_t type = dice_.Between(0, 15);
        const zk::Guid dataType = dice_.Chance(30) ? zk::Guid{} : DrawnGuid(dice_);
        std::string code = Code();
        std::string unit = ShortWord(dice_);
        std::string entity = ShortWord(dice_);
        s_.EditAttribute(attribute, [&](zk::AttributeData& data) {
            if (fields & 1)
                data.type = type;
            if (fields & 2)
                data.data_type = dataType;
            if (fields & 4)
                data.function_code = std::move(code);
            if (fields & 8)
                data.blocked = !data.blocked;
            if (fields & 16)
                data.measure_unit = std::move(unit);
            if (fields & 32)
                data.measure_entity = std::move(entity);
            if (fields & 64)
                data.forbid_input = !data.forbid_input;
        });
    }

    // One value changed and one property added.
    void EditProperties(EntityId attribute) {
        const zk::Properties& properties = s_.Declaring(attribute).properties;
        std::string changed;
        if (properties.Count() > 0)
            changed =
                properties.At(dice_.Below(static_cast<std::uint32_t>(properties.Count()))).first;
        zk::Value changedValue = RandomValue(dice_);
        std::string added = PropertyName(dice_) + " " + std::to_string(serial_++);
        zk::Value addedValue = RandomValue(dice_);
        s_.EditAttribute(attribute, [&](zk::AttributeData& data) {
            if (!changed.empty())
                data.properties.Set(changed, std::move(changedValue));
            data.properties.Set(added, std::move(addedValue));
        });
    }

    // New classes at the end of the vector; a base is an older class, so it comes first.
    void AddClasses() {
        for (std::uint32_t k = 0; k < Quarter(); ++k) {
            const EntityId base = HasClasses() && dice_.Chance(50) ? RandomClass() : 0;
            const EntityId cls = s_.AddClass(ClassName(dice_, serial_++));
            s_.SetClassGuid(cls, DrawnGuid(dice_));
            s_.SetClassScreenName(cls, ScreenText(dice_));
            s_.SetClassBlocked(cls, dice_.Chance(20));
            const std::int32_t x = dice_.Between(-500, 6000);
            const std::int32_t y = dice_.Between(-500, 4000);
            s_.SetClassPosition(cls, x, y);
            if (base)
                s_.SetBaseClass(cls, base);
            const std::uint32_t attributes = 1 + dice_.Below(3);
            for (std::uint32_t a = 0; a < attributes; ++a)
                NewAttribute(cls);
        }
    }

    void EditLinks() {
        if (!HasClasses())
            return;
        for (std::uint32_t k = 0; k < touched_; ++k) {
            const EntityId parent = RandomClass();
            s_.AddLink(parent, std::string(NameOf(RandomClass())));
        }
        for (std::uint32_t k = 0; k < (touched_ + 1) / 2; ++k) {
            const EntityId parent = RandomClass();
            const std::vector<EntityId>& children = s_.Class(parent).children;
            if (!children.empty())
                s_.RemoveLink(parent, std::string(NameOf(dice_.Pick(children))));
        }
    }

    std::string ConstraintValue() {
        return HasClasses() && !dice_.Chance(10) ? NameOf(RandomClass())
                                                 : "Нет такого класса " + std::to_string(serial_++);
    }

    void EditFilters() {
        if (s_.FilterCount() > 0 && dice_.Chance(50))
            s_.RemoveFilter(std::string(
                s_.FilterAt(dice_.Below(static_cast<std::uint32_t>(s_.FilterCount()))).name));
        const std::size_t common = s_.FilterCount();
        for (std::size_t k = 0; k < std::min<std::size_t>(2, common); ++k) {
            const std::string name =
                s_.FilterAt(dice_.Below(static_cast<std::uint32_t>(common))).name;
            s_.AddConstraint(name, ConstraintValue());
            const std::vector<std::string> constraints = s_.FindFilter(name)->constraints;
            if (dice_.Chance(50))
                s_.RemoveConstraint(name, dice_.Pick(constraints));
        }
        const std::string name = FilterName(dice_, serial_++);
        s_.CreateFilter(name, ScreenText(dice_));
        const std::uint32_t constraints = 1 + dice_.Below(3);
        for (std::uint32_t k = 0; k < constraints; ++k)
            s_.AddConstraint(name, ConstraintValue());
    }

    // Rights on classes and on own attributes (an inherited entry is keyed by its declaring
    // attribute), given, changed or taken away.
    void EditRights() {
        if (!HasClasses())
            return;
        for (std::size_t g = 0; g < s_.GroupCount(); ++g) {
            const std::int32_t handle = s_.GroupAt(g).handle;
            for (std::uint32_t k = 0; k < touched_; ++k) {
                const EntityId cls = RandomClass();
                const std::vector<EntityId> own = OwnAttributes(cls);
                const zk::Guid key = own.empty() || dice_.Chance(40)
                                         ? s_.Class(cls).guid
                                         : s_.Declaring(dice_.Pick(own)).guid;
                if (dice_.Chance(25))
                    s_.RemoveRights(handle, key);
                else
                    s_.SetRights(handle, key, dice_.Between(0, 31));
            }
        }
    }

    Structure& s_;
    Dice dice_;
    const std::uint32_t touched_;
    std::vector<zk::Guid> data_types_;
    int serial_ = kFirstNewSerial;
    std::set<EntityId> made_; // the attributes these edits inserted into common classes
};

} // namespace

zk::Structure RandomEdits(const zk::Structure& original, std::uint32_t seed, int percent) {
    Structure edited = original;
    Editor(edited, seed, percent).Run();
    return edited;
}

} // namespace kvgen
