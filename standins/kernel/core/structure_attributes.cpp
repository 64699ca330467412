// Attributes of classes and the rules of inheritance: a class lists its own attributes and a
// view of every entry of its direct base (unless an own attribute has that name); views follow
// their base as it gains, loses or renames entries.
#include "core/structure.h"

#include <algorithm>

namespace zk {

namespace {

std::string Quoted(std::string_view name) {
    return "'" + std::string(name) + "'";
}

} // namespace

const Properties::Item& Properties::At(std::size_t index) const {
    if (index >= items_.size())
        Fail(ErrorKind::InvalidArgument, "property position " + std::to_string(index) +
                                             " is out of range (the list has " +
                                             std::to_string(items_.size()) + " properties)");
    return items_[index];
}

const Value* Properties::Find(std::string_view name) const {
    auto found = index_.find(name);
    return found == index_.end() ? nullptr : &items_[found->second].second;
}

void Properties::Set(std::string_view name, Value value) {
    auto found = index_.find(name);
    if (found != index_.end()) {
        items_[found->second].second = std::move(value);
        return;
    }
    index_.emplace(std::string(name), items_.size());
    items_.emplace_back(std::string(name), std::move(value));
}

bool Properties::Remove(std::string_view name) {
    auto found = index_.find(name);
    if (found == index_.end())
        return false;
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(found->second));
    index_.clear();
    for (std::size_t i = 0; i < items_.size(); ++i)
        index_.emplace(items_[i].first, i);
    return true;
}

EntityId Structure::AttributeAt(EntityId cls, std::size_t index) const {
    const ClassData& data = Class(cls);
    if (index >= data.attributes.size())
        Fail(ErrorKind::InvalidArgument, "attribute position " + std::to_string(index) +
                                             " is out of range (class " + Quoted(data.name) +
                                             " has " + std::to_string(data.attributes.size()) +
                                             " attributes)");
    return data.attributes[index];
}

EntityId Structure::FindAttribute(EntityId cls, std::string_view name) const {
    const ClassData& data = Class(cls);
    auto found = data.attribute_index.find(name);
    return found == data.attribute_index.end() ? 0 : data.attributes[found->second];
}

const AttributeEntry& Structure::Attribute(EntityId id) const {
    auto found = attributes_.find(id);
    if (found == attributes_.end())
        Fail(ErrorKind::Removed, "the attribute no longer exists in the model");
    return found->second;
}

AttributeEntry& Structure::MutableAttribute(EntityId id) {
    return const_cast<AttributeEntry&>(std::as_const(*this).Attribute(id));
}

const AttributeData& Structure::Declaring(EntityId id) const {
    const AttributeEntry* entry = &Attribute(id);
    while (entry->inherited_from)
        entry = &Attribute(entry->inherited_from);
    return entry->data;
}

AttributeData& Structure::MutableDeclaring(EntityId id) {
    return const_cast<AttributeData&>(std::as_const(*this).Declaring(id));
}

void Structure::ReindexAttributes(ClassData& cls) {
    cls.attribute_index.clear();
    cls.attribute_index.reserve(cls.attributes.size());
    for (std::size_t i = 0; i < cls.attributes.size(); ++i)
        cls.attribute_index.emplace(EntryName(cls.attributes[i]), i);
}

EntityId Structure::AppendOwnAttribute(ClassData& cls, AttributeData data) {
    EntityId id = NewEntityId();
    AttributeEntry& entry = attributes_[id];
    entry.id = id;
    entry.owner = cls.id;
    entry.data = std::move(data);
    cls.attribute_index.emplace(entry.data.name, cls.attributes.size());
    cls.attributes.push_back(id);
    return id;
}

void Structure::SyncInherited(EntityId cls) {
    // Depth first with an explicit stack: a base is always brought in line before the classes
    // below it, and deep hierarchies cannot exhaust the call stack.
    std::vector<EntityId> pending{cls};
    while (!pending.empty()) {
        ClassData& current = MutableClass(pending.back());
        pending.pop_back();
        SyncInheritedOf(current);
        pending.insert(pending.end(), current.derived.rbegin(), current.derived.rend());
    }
}

void Structure::SyncDerived(const ClassData& cls) {
    for (EntityId derived : std::vector<EntityId>(cls.derived))
        SyncInherited(derived);
}

void Structure::SyncInheritedOf(ClassData& cls) {
    const ClassData* base = cls.base ? &Class(cls.base) : nullptr;
    std::unordered_set<std::string, StringHash, std::equal_to<>> taken;
    for (EntityId entry : cls.attributes)
        if (!Attribute(entry).inherited_from)
            taken.insert(Attribute(entry).data.name);

    std::unordered_set<EntityId> viewed;
    std::vector<EntityId> kept;
    kept.reserve(cls.attributes.size());
    for (EntityId entry : cls.attributes) {
        const AttributeEntry& a = Attribute(entry);
        if (!a.inherited_from) {
            kept.push_back(entry);
            continue;
        }
        auto source = attributes_.find(a.inherited_from);
        bool valid = base && source != attributes_.end() && source->second.owner == base->id &&
                     !viewed.contains(a.inherited_from) && !taken.contains(EntryName(entry));
        if (valid) {
            viewed.insert(a.inherited_from);
            taken.insert(EntryName(entry));
            kept.push_back(entry);
        } else {
            attributes_.erase(entry);
        }
    }
    if (base) {
        for (EntityId source : base->attributes) {
            if (viewed.contains(source) || taken.contains(EntryName(source)))
                continue;
            EntityId id = NewEntityId();
            AttributeEntry& view = attributes_[id];
            view.id = id;
            view.owner = cls.id;
            view.inherited_from = source;
            taken.insert(EntryName(source));
            kept.push_back(id);
        }
    }
    cls.attributes = std::move(kept);
    ReindexAttributes(cls);
}

EntityId Structure::AddAttribute(EntityId cls, std::string_view name) {
    if (EntityId existing = FindAttribute(cls, name))
        return existing;
    if (name.empty())
        Fail(ErrorKind::InvalidArgument, "an attribute name must not be empty");
    ClassData& data = MutableClass(cls);
    AttributeData attribute;
    attribute.guid = NewGuid();
    attribute.name = std::string(name);
    EntityId id = AppendOwnAttribute(data, std::move(attribute));
    SyncDerived(data);
    Changed();
    return id;
}

bool Structure::RemoveAttribute(EntityId cls, std::string_view name) {
    EntityId id = FindAttribute(cls, name);
    if (!id)
        return false;
    ClassData& data = MutableClass(cls);
    const AttributeEntry& entry = Attribute(id);
    if (entry.inherited_from)
        Fail(ErrorKind::InvalidArgument, "attribute " + Quoted(name) + " of class " +
                                             Quoted(data.name) + " is inherited from " +
                                             Quoted(Class(data.base).name) +
                                             " and can only be removed there");
    data.attributes.erase(std::find(data.attributes.begin(), data.attributes.end(), id));
    attributes_.erase(id);
    // An entry of the base of the same name shows through now.
    SyncInherited(cls);
    Changed();
    return true;
}

void Structure::SwapAttributes(EntityId cls, std::string_view first, std::string_view second) {
    ClassData& data = MutableClass(cls);
    auto a = data.attribute_index.find(first);
    auto b = data.attribute_index.find(second);
    for (auto [found, name] : {std::pair{a, first}, std::pair{b, second}})
        if (found == data.attribute_index.end())
            Fail(ErrorKind::NotFound,
                 "class " + Quoted(data.name) + " has no attribute " + Quoted(name));
    if (a == b)
        return;
    std::swap(data.attributes[a->second], data.attributes[b->second]);
    std::swap(a->second, b->second);
    Changed();
}

void Structure::RenameAttribute(EntityId id, std::string_view name) {
    const AttributeEntry* declaring = &Attribute(id);
    while (declaring->inherited_from)
        declaring = &Attribute(declaring->inherited_from);
    if (declaring->data.name == name)
        return;
    ClassData& owner = MutableClass(declaring->owner);
    if (name.empty())
        Fail(ErrorKind::InvalidArgument, "an attribute name must not be empty");
    if (FindAttribute(owner.id, name))
        Fail(ErrorKind::InvalidArgument,
             "class " + Quoted(owner.name) + " already has an attribute " + Quoted(name));
    MutableAttribute(declaring->id).data.name = std::string(name);
    ReindexAttributes(owner);
    SyncDerived(owner);
    Changed();
}

void Structure::SetAttributeGuid(EntityId id, const Guid& guid) {
    MutableDeclaring(id).guid = guid;
    Changed();
}

void Structure::EditAttribute(EntityId id, const std::function<void(AttributeData&)>& edit) {
    AttributeData& data = MutableDeclaring(id);
    std::string name = data.name;
    Guid guid = data.guid;
    edit(data);
    data.name = std::move(name); // the name and identifier have setters of their own
    data.guid = guid;
    Changed();
}

void Structure::MakeOwn(EntityId id) {
    AttributeEntry& entry = MutableAttribute(id);
    if (!entry.inherited_from)
        return;
    entry.data = Declaring(id);
    entry.inherited_from = 0;
    Changed();
}

void Structure::AssignAttribute(EntityId id, const AttributeData& source) {
    AttributeData copy = source; // the source may be this very attribute
    Guid guid = copy.guid;
    EditAttribute(id, [&](AttributeData& data) { data = std::move(copy); });
    SetAttributeGuid(id, guid);
}

void Structure::RestoreAttributes(EntityId cls, std::vector<RestoredAttribute> entries) {
    ClassData& data = MutableClass(cls);
    for (EntityId old : data.attributes)
        attributes_.erase(old);
    data.attributes.clear();
    for (auto& restored : entries) {
        if (!restored.inherited) {
            AppendOwnAttribute(data, std::move(restored.data));
            continue;
        }
        EntityId source = data.base ? FindAttribute(data.base, restored.inherited_name) : 0;
        if (!source)
            Fail(ErrorKind::BadFile, "the base class has no attribute " +
                                         Quoted(restored.inherited_name) + " to inherit");
        EntityId id = NewEntityId();
        AttributeEntry& view = attributes_[id];
        view.id = id;
        view.owner = cls;
        view.inherited_from = source;
        data.attributes.push_back(id);
    }
    ReindexAttributes(data);
    SyncInheritedOf(data); // adds what the list missed, drops what it listed twice
}

} // namespace zk
