// Classes of a structure: creation, removal, renaming, identifiers, bases and child links.
#include "core/structure.h"

#include <algorithm>
#include <atomic>

namespace zk {

EntityId NewEntityId() {
    static std::atomic<EntityId> next{1};
    return next++;
}

namespace {

std::string Quoted(std::string_view name) {
    return "'" + std::string(name) + "'";
}

template <class T> void EraseValue(std::vector<T>& values, const T& value) {
    values.erase(std::remove(values.begin(), values.end(), value), values.end());
}

} // namespace

EntityId Structure::ClassAt(std::size_t index) const {
    if (index >= class_order_.size())
        Fail(ErrorKind::InvalidArgument, "class position " + std::to_string(index) +
                                             " is out of range (the structure has " +
                                             std::to_string(class_order_.size()) + " classes)");
    return class_order_[index];
}

EntityId Structure::FindClass(std::string_view name) const {
    auto found = class_by_name_.find(name);
    return found == class_by_name_.end() ? 0 : found->second;
}

EntityId Structure::FindClassByGuid(const Guid& guid) const {
    auto found = class_by_guid_.find(guid);
    return found == class_by_guid_.end() || found->second.empty() ? 0 : found->second.front();
}

const ClassData& Structure::Class(EntityId id) const {
    auto found = classes_.find(id);
    if (found == classes_.end())
        Fail(ErrorKind::Removed, "the class no longer exists in the model");
    return found->second;
}

ClassData& Structure::MutableClass(EntityId id) {
    return const_cast<ClassData&>(std::as_const(*this).Class(id));
}

void Structure::CheckNewClassName(std::string_view name) const {
    if (name.empty())
        Fail(ErrorKind::InvalidArgument, "a class name must not be empty");
    if (FindClass(name))
        Fail(ErrorKind::InvalidArgument, "a class named " + Quoted(name) + " already exists");
}

void Structure::IndexGuid(EntityId id, const Guid& guid) {
    class_by_guid_[guid].push_back(id);
}

void Structure::UnindexGuid(EntityId id, const Guid& guid) {
    auto found = class_by_guid_.find(guid);
    if (found == class_by_guid_.end())
        return;
    EraseValue(found->second, id);
    if (found->second.empty())
        class_by_guid_.erase(found);
}

EntityId Structure::AddClass(std::string_view name) {
    if (EntityId existing = FindClass(name))
        return existing;
    CheckNewClassName(name);
    EntityId id = NewEntityId();
    ClassData& cls = classes_[id];
    cls.id = id;
    cls.guid = NewGuid();
    cls.name = std::string(name);
    class_order_.push_back(id);
    class_by_name_.emplace(cls.name, id);
    IndexGuid(id, cls.guid);
    Changed();
    return id;
}

bool Structure::RemoveClass(std::string_view name) {
    EntityId id = FindClass(name);
    if (!id)
        return false;
    ClassData& cls = MutableClass(id);
    for (EntityId parent : cls.parents) {
        if (parent == id)
            continue;
        ClassData& p = MutableClass(parent);
        EraseValue(p.children, id);
        p.child_set.erase(id);
    }
    for (EntityId child : cls.children)
        if (child != id)
            MutableClass(child).parents.erase(id);
    if (cls.base)
        EraseValue(MutableClass(cls.base).derived, id);
    for (EntityId entry : cls.attributes)
        attributes_.erase(entry);
    std::vector<EntityId> orphans = std::move(cls.derived);
    UnindexGuid(id, cls.guid);
    class_by_name_.erase(cls.name);
    EraseValue(class_order_, id);
    classes_.erase(id);
    for (EntityId orphan : orphans) {
        MutableClass(orphan).base = 0;
        SyncInherited(orphan);
    }
    Changed();
    return true;
}

void Structure::RenameClass(EntityId id, std::string_view name) {
    ClassData& cls = MutableClass(id);
    if (cls.name == name)
        return;
    CheckNewClassName(name);
    class_by_name_.erase(cls.name);
    cls.name = std::string(name);
    class_by_name_.emplace(cls.name, id);
    Changed();
}

void Structure::SetClassScreenName(EntityId id, std::string screen_name) {
    MutableClass(id).screen_name = std::move(screen_name);
    Changed();
}

void Structure::SetClassBlocked(EntityId id, bool blocked) {
    MutableClass(id).blocked = blocked;
    Changed();
}

void Structure::SetClassGuid(EntityId id, const Guid& guid) {
    ClassData& cls = MutableClass(id);
    UnindexGuid(id, cls.guid);
    cls.guid = guid;
    IndexGuid(id, guid);
    Changed();
}

void Structure::SetClassPosition(EntityId id, std::int32_t x, std::int32_t y) {
    ClassData& cls = MutableClass(id);
    cls.x = x;
    cls.y = y;
    Changed();
}

void Structure::SetBaseClass(EntityId id, EntityId base) {
    ClassData& cls = MutableClass(id);
    if (base) {
        const ClassData& new_base = Class(base);
        for (EntityId above = base; above; above = Class(above).base)
            if (above == id)
                Fail(ErrorKind::InvalidArgument, "class " + Quoted(new_base.name) +
                                                     " cannot be the base of " + Quoted(cls.name) +
                                                     ": the bases would form a cycle");
    }
    if (cls.base != base) {
        if (cls.base)
            EraseValue(MutableClass(cls.base).derived, id);
        cls.base = base;
        if (base)
            MutableClass(base).derived.push_back(id);
    }
    SyncInherited(id);
    Changed();
}

void Structure::AssignClass(EntityId id, const Structure& source, EntityId source_class) {
    const ClassData& from = source.Class(source_class);
    // Copies first: the source may be this very structure.
    Guid guid = from.guid;
    std::string screen_name = from.screen_name;
    bool blocked = from.blocked;
    std::int32_t x = from.x, y = from.y;
    std::vector<AttributeData> own;
    for (EntityId entry : from.attributes)
        if (!source.Attribute(entry).inherited_from)
            own.push_back(source.Attribute(entry).data);

    SetClassGuid(id, guid);
    ClassData& cls = MutableClass(id);
    cls.screen_name = std::move(screen_name);
    cls.blocked = blocked;
    cls.x = x;
    cls.y = y;

    NameMap<const AttributeData*> wanted;
    for (const auto& data : own)
        wanted.emplace(data.name, &data);
    std::vector<EntityId> kept;
    for (EntityId entry : cls.attributes) {
        AttributeEntry& a = MutableAttribute(entry);
        const std::string& name = EntryName(entry);
        auto match = wanted.find(name);
        if (match != wanted.end()) {
            a.data = *match->second; // an inherited entry of that name becomes own
            a.inherited_from = 0;
            wanted.erase(match);
            kept.push_back(entry);
        } else if (a.inherited_from) {
            kept.push_back(entry);
        } else {
            attributes_.erase(entry);
        }
    }
    cls.attributes = std::move(kept);
    for (const auto& data : own)
        if (wanted.contains(data.name))
            AppendOwnAttribute(cls, data);
    ReindexAttributes(cls);
    SyncInherited(id);
    Changed();
}

EntityId Structure::FindChild(EntityId parent, std::string_view child_name) const {
    const ClassData& cls = Class(parent);
    EntityId child = FindClass(child_name);
    return child && cls.child_set.contains(child) ? child : 0;
}

EntityId Structure::AddLink(EntityId parent, std::string_view child_name) {
    ClassData& cls = MutableClass(parent);
    EntityId child = FindClass(child_name);
    if (!child)
        Fail(ErrorKind::NotFound, "cannot link " + Quoted(cls.name) + " to " + Quoted(child_name) +
                                      ": the structure has no such class");
    if (cls.child_set.contains(child))
        return 0;
    cls.children.push_back(child);
    cls.child_set.insert(child);
    MutableClass(child).parents.insert(parent);
    Changed();
    return child;
}

EntityId Structure::RemoveLink(EntityId parent, std::string_view child_name) {
    ClassData& cls = MutableClass(parent);
    EntityId child = FindChild(parent, child_name);
    if (!child)
        return 0;
    EraseValue(cls.children, child);
    cls.child_set.erase(child);
    MutableClass(child).parents.erase(parent);
    Changed();
    return child;
}

} // namespace zk
