// A model structure and the rules of its operations: classes with attributes, inheritance and
// child links, filters, global modules, user groups with rights, event items and event groups.
//
// Classes and attribute entries are addressed by an EntityId that stays the same for the life
// of the entity and is never given to another one, so the COM shell can keep one object per
// entity and notice when its entity is gone. Every change sets the modified flag; name lookups
// are hashed.
#pragma once

#include "core/kernel_error.h"
#include "core/value.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace zk {

using EntityId = std::uint64_t; // 0 = none
EntityId NewEntityId();

// An ordered name -> value list.
class Properties {
public:
    using Item = std::pair<std::string, Value>;

    std::size_t Count() const { return items_.size(); }
    const Item& At(std::size_t index) const; // InvalidArgument past the end
    const Value* Find(std::string_view name) const;
    void Set(std::string_view name, Value value); // replaces, or appends a new name
    bool Remove(std::string_view name);
    const std::vector<Item>& Items() const { return items_; }
    bool operator==(const Properties& other) const { return items_ == other.items_; }

private:
    std::vector<Item> items_;
    NameMap<std::size_t> index_;
};

// What an attribute declares (every field of IZClassValue).
struct AttributeData {
    Guid guid;
    std::string name;
    std::int32_t type = 0;
    Guid data_type;
    std::string screen_name;
    std::string alias_name;
    std::string group;
    std::string function_code;
    bool blocked = false;
    std::string measure_unit;
    std::string measure_entity;
    bool forbid_input = false;
    std::int32_t precision = 0;
    Properties properties;

    bool operator==(const AttributeData&) const = default;
};

// One entry of a class's attribute list: an own attribute, or a view of an entry of the direct
// base class (inherited_from), whose reads and writes go to the declaring attribute.
struct AttributeEntry {
    EntityId id = 0;
    EntityId owner = 0;
    EntityId inherited_from = 0;
    AttributeData data; // own attributes only
};

struct ClassData {
    EntityId id = 0;
    Guid guid;
    std::string name;
    std::string screen_name;
    EntityId base = 0;
    bool blocked = false;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::vector<EntityId> children; // in link order
    std::unordered_set<EntityId> child_set;
    std::unordered_set<EntityId> parents;
    std::vector<EntityId> derived;        // classes whose base this is
    std::vector<EntityId> attributes;     // own and inherited entries, in list order
    NameMap<std::size_t> attribute_index; // name -> position in attributes
};

struct Filter {
    std::string name;
    std::string caption;
    std::vector<std::string> constraints; // class names, in order
    std::unordered_set<std::string, StringHash, std::equal_to<>> constraint_set;
};

struct Module {
    std::string name;
    std::string text;
};

struct Group {
    std::string id;
    std::string name;
    std::int32_t handle = 0; // opaque, non-zero, not stored
    // Security key -> rights mask, hashed: a group of a large structure has rights on a hundred
    // thousand objects. RightsInKeyOrder lists them in a stable order.
    std::unordered_map<Guid, std::int32_t, GuidHash> rights;
};

struct EventItem {
    EntityId id = 0;
    std::string name;
    bool allow_changes = false;
};

struct EventHandler {
    Guid owner;     // null for the model's own handlers
    Guid attribute; // null unless the handler belongs to an attribute
    std::int32_t kind = 0;
    std::string code;
    bool operator==(const EventHandler&) const = default;
};

struct EventGroup {
    std::string name;
    std::vector<EventHandler> handlers;
    bool operator==(const EventGroup&) const = default;
};

// An own attribute or a view, as a structure file lists a class's entries.
struct RestoredAttribute {
    bool inherited = false;
    std::string inherited_name; // for views: the name of the base class's entry
    AttributeData data;         // for own attributes
};

class Structure {
public:
    // --- model ------------------------------------------------------------------------------
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // --- classes ----------------------------------------------------------------------------
    std::size_t ClassCount() const { return class_order_.size(); }
    EntityId ClassAt(std::size_t index) const; // InvalidArgument past the end
    EntityId FindClass(std::string_view name) const;
    EntityId FindClassByGuid(const Guid& guid) const; // the first class given that identifier
    bool HasClass(EntityId id) const { return classes_.contains(id); }
    const ClassData& Class(EntityId id) const; // Removed when it no longer exists
    // Returns the class of that name, else appends a new one with a fresh identifier.
    EntityId AddClass(std::string_view name);
    // Removes the class, its attributes and its links (no event); classes derived from it lose
    // their base. False when there is no such class.
    bool RemoveClass(std::string_view name);
    void RenameClass(EntityId id, std::string_view name);
    void SetClassScreenName(EntityId id, std::string screen_name);
    void SetClassBlocked(EntityId id, bool blocked);
    void SetClassGuid(EntityId id, const Guid& guid);
    void SetClassPosition(EntityId id, std::int32_t x, std::int32_t y);
    // base 0 removes the base. The inherited entries are replaced by those of the new base,
    // appended after the class's entries; an own attribute of the same name wins.
    void SetBaseClass(EntityId id, EntityId base);
    // Copies the definition of a class of any structure: identifier, screen name, blocked flag,
    // position and own attributes (deep); never the name, base, links or rights.
    void AssignClass(EntityId id, const Structure& source, EntityId source_class);

    // --- links ------------------------------------------------------------------------------
    EntityId FindChild(EntityId parent, std::string_view child_name) const;
    // The child's id when a link was added; 0 when it existed already. NotFound for a name the
    // structure lacks.
    EntityId AddLink(EntityId parent, std::string_view child_name);
    // The child's id when a link was removed; 0 when there was none.
    EntityId RemoveLink(EntityId parent, std::string_view child_name);

    // --- attributes -------------------------------------------------------------------------
    std::size_t AttributeCount(EntityId cls) const { return Class(cls).attributes.size(); }
    EntityId AttributeAt(EntityId cls, std::size_t index) const;
    EntityId FindAttribute(EntityId cls, std::string_view name) const;
    bool HasAttribute(EntityId id) const { return attributes_.contains(id); }
    const AttributeEntry& Attribute(EntityId id) const; // Removed when gone
    // The attribute that declares the entry's data (the entry itself for an own attribute).
    const AttributeData& Declaring(EntityId id) const;
    // Returns the entry of that name (own or inherited), else appends a new own attribute.
    EntityId AddAttribute(EntityId cls, std::string_view name);
    // False when the class has no entry of that name; an inherited entry cannot be removed.
    bool RemoveAttribute(EntityId cls, std::string_view name);
    void SwapAttributes(EntityId cls, std::string_view first, std::string_view second);
    void RenameAttribute(EntityId id, std::string_view name);
    void SetAttributeGuid(EntityId id, const Guid& guid);
    // Changes fields of the declaring attribute other than the name and the identifier.
    void EditAttribute(EntityId id, const std::function<void(AttributeData&)>& edit);
    // Turns an inherited entry into an own attribute with a copy of its values.
    void MakeOwn(EntityId id);
    // Copies every field, the properties and the identifier, never the name.
    void AssignAttribute(EntityId id, const AttributeData& source);

    // --- filters ----------------------------------------------------------------------------
    std::size_t FilterCount() const { return filters_.size(); }
    const Filter& FilterAt(std::size_t index) const;
    const Filter* FindFilter(std::string_view name) const;
    // Creates the filter, or sets the caption of an existing one.
    void CreateFilter(std::string_view name, std::string caption);
    bool RemoveFilter(std::string_view name);
    void AddConstraint(std::string_view filter, std::string_view value);
    bool RemoveConstraint(std::string_view filter, std::string_view value);

    // --- global modules ---------------------------------------------------------------------
    std::size_t ModuleCount() const { return modules_.size(); }
    const Module& ModuleAt(std::size_t index) const;
    const Module* FindModule(std::string_view name) const;
    void SetModule(std::string_view name, std::string text);
    bool RemoveModule(std::string_view name);

    // --- user groups and rights -------------------------------------------------------------
    std::size_t GroupCount() const { return groups_.size(); }
    const Group& GroupAt(std::size_t index) const;
    const Group* FindGroupById(std::string_view id) const;
    const Group* FindGroupByHandle(std::int32_t handle) const;
    // The group after the given one in creation order: 0 starts, 0 ends.
    std::int32_t NextGroup(std::int32_t handle) const;
    // Creates the group (or renames an existing one) and returns its handle.
    std::int32_t AddGroup(std::string_view id, std::string name);
    bool RemoveGroup(std::string_view id);
    // Nothing when the group has no entry for the key (handle 0 has no entries).
    std::optional<std::int32_t> GetRights(std::int32_t handle, const Guid& key) const;
    void SetRights(std::int32_t handle, const Guid& key, std::int32_t rights);
    void RemoveRights(std::int32_t handle, const Guid& key);

    // --- event items and event groups -------------------------------------------------------
    std::size_t EventItemCount() const { return event_items_.size(); }
    const EventItem& EventItemAt(std::size_t index) const;
    const EventItem& EventItemById(EntityId id) const;
    void AddEventItem(std::string_view name, bool allow_changes);
    void SetAllowChanges(EntityId id, bool allow_changes);
    const std::vector<EventGroup>& EventGroups() const { return event_groups_; }
    const EventGroup* FindEventGroup(std::string_view name) const;
    void SetEventGroup(EventGroup group); // replaces the group of that name, or appends it
    void SetEventHandler(std::string_view group, const Guid& owner, const Guid& attribute,
                         std::int32_t kind, std::string code);

    // --- loading ----------------------------------------------------------------------------
    // Lays out a class's entries exactly as listed (the bases' entries must be laid out
    // first); views name an entry of the base class. Used by the structure file reader.
    void RestoreAttributes(EntityId cls, std::vector<RestoredAttribute> entries);

private:
    ClassData& MutableClass(EntityId id);
    AttributeEntry& MutableAttribute(EntityId id);
    AttributeData& MutableDeclaring(EntityId id);
    Filter& MutableFilter(std::string_view name);
    Group& MutableGroup(std::int32_t handle);
    const std::string& EntryName(EntityId id) const { return Declaring(id).name; }
    void ReindexAttributes(ClassData& cls);
    // Brings the inherited entries of the class and of every class below it in line with
    // their bases.
    void SyncInherited(EntityId cls);
    void SyncInheritedOf(ClassData& cls);
    void SyncDerived(const ClassData& cls);
    void CheckNewClassName(std::string_view name) const;
    void IndexGuid(EntityId id, const Guid& guid);
    void UnindexGuid(EntityId id, const Guid& guid);
    EntityId AppendOwnAttribute(ClassData& cls, AttributeData data);
    void Changed() { modified_ = true; }

    std::string name_;
    bool modified_ = false;
    std::unordered_map<EntityId, ClassData> classes_;
    std::vector<EntityId> class_order_;
    NameMap<EntityId> class_by_name_;
    std::unordered_map<Guid, std::vector<EntityId>, GuidHash> class_by_guid_;
    std::unordered_map<EntityId, AttributeEntry> attributes_;
    std::vector<Filter> filters_;
    NameMap<std::size_t> filter_index_;
    std::vector<Module> modules_;
    NameMap<std::size_t> module_index_;
    std::vector<Group> groups_;
    NameMap<std::size_t> group_index_;
    std::int32_t next_group_handle_ = 0x2A01;
    std::vector<EventItem> event_items_;
    std::vector<EventGroup> event_groups_;
};

// A group's rights ordered by security key, as structure files list them.
std::vector<std::pair<Guid, std::int32_t>> RightsInKeyOrder(const Group& group);

// Handler owners of an event group, one row per distinct (owner, attribute), in order of first
// appearance.
std::vector<std::pair<Guid, Guid>> HandlerOwners(const EventGroup& group);
// The code of one handler, "" when there is none.
std::string HandlerCode(const EventGroup& group, const Guid& owner, const Guid& attribute,
                        std::int32_t kind);
// Sets the code of one handler; an empty code removes it.
void SetHandlerCode(EventGroup& group, const Guid& owner, const Guid& attribute, std::int32_t kind,
                    std::string code);

} // namespace zk
