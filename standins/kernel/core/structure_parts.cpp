// The parts of a structure beside classes: filters with constraints, global modules, user
// groups with their rights, event items and event groups.
#include "core/structure.h"

#include <algorithm>

namespace zk {

namespace {

std::string Quoted(std::string_view name) {
    return "'" + std::string(name) + "'";
}

std::string OutOfRange(const char* what, std::size_t index, std::size_t count) {
    return std::string(what) + " position " + std::to_string(index) +
           " is out of range (there are " + std::to_string(count) + ")";
}

template <class T>
void EraseAt(std::vector<T>& items, NameMap<std::size_t>& index, std::size_t position,
             const std::string T::*key) {
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(position));
    index.clear();
    for (std::size_t i = 0; i < items.size(); ++i)
        index.emplace(items[i].*key, i);
}

} // namespace

// --- filters ----------------------------------------------------------------------------------

const Filter& Structure::FilterAt(std::size_t index) const {
    if (index >= filters_.size())
        Fail(ErrorKind::InvalidArgument, OutOfRange("filter", index, filters_.size()));
    return filters_[index];
}

const Filter* Structure::FindFilter(std::string_view name) const {
    auto found = filter_index_.find(name);
    return found == filter_index_.end() ? nullptr : &filters_[found->second];
}

Filter& Structure::MutableFilter(std::string_view name) {
    auto found = filter_index_.find(name);
    if (found == filter_index_.end())
        Fail(ErrorKind::NotFound, "the structure has no filter " + Quoted(name));
    return filters_[found->second];
}

void Structure::CreateFilter(std::string_view name, std::string caption) {
    if (name.empty())
        Fail(ErrorKind::InvalidArgument, "a filter name must not be empty");
    auto found = filter_index_.find(name);
    if (found != filter_index_.end()) {
        filters_[found->second].caption = std::move(caption);
    } else {
        filter_index_.emplace(std::string(name), filters_.size());
        filters_.push_back(Filter{std::string(name), std::move(caption), {}, {}});
    }
    Changed();
}

bool Structure::RemoveFilter(std::string_view name) {
    auto found = filter_index_.find(name);
    if (found == filter_index_.end())
        return false;
    EraseAt(filters_, filter_index_, found->second, &Filter::name);
    Changed();
    return true;
}

void Structure::AddConstraint(std::string_view filter, std::string_view value) {
    Filter& target = MutableFilter(filter);
    if (target.constraint_set.contains(value))
        return;
    target.constraints.emplace_back(value);
    target.constraint_set.emplace(value);
    Changed();
}

bool Structure::RemoveConstraint(std::string_view filter, std::string_view value) {
    auto found = filter_index_.find(filter);
    if (found == filter_index_.end())
        return false;
    Filter& target = filters_[found->second];
    auto member = target.constraint_set.find(value);
    if (member == target.constraint_set.end())
        return false;
    target.constraint_set.erase(member);
    target.constraints.erase(
        std::find(target.constraints.begin(), target.constraints.end(), value));
    Changed();
    return true;
}

// --- global modules ---------------------------------------------------------------------------

const Module& Structure::ModuleAt(std::size_t index) const {
    if (index >= modules_.size())
        Fail(ErrorKind::InvalidArgument, OutOfRange("module", index, modules_.size()));
    return modules_[index];
}

const Module* Structure::FindModule(std::string_view name) const {
    auto found = module_index_.find(name);
    return found == module_index_.end() ? nullptr : &modules_[found->second];
}

void Structure::SetModule(std::string_view name, std::string text) {
    if (name.empty())
        Fail(ErrorKind::InvalidArgument, "a module name must not be empty");
    auto found = module_index_.find(name);
    if (found != module_index_.end()) {
        modules_[found->second].text = std::move(text);
    } else {
        module_index_.emplace(std::string(name), modules_.size());
        modules_.push_back(Module{std::string(name), std::move(text)});
    }
    Changed();
}

bool Structure::RemoveModule(std::string_view name) {
    auto found = module_index_.find(name);
    if (found == module_index_.end())
        return false;
    EraseAt(modules_, module_index_, found->second, &Module::name);
    Changed();
    return true;
}

// --- user groups and rights -------------------------------------------------------------------

std::vector<std::pair<Guid, std::int32_t>> RightsInKeyOrder(const Group& group) {
    std::vector<std::pair<Guid, std::int32_t>> rights(group.rights.begin(), group.rights.end());
    std::sort(rights.begin(), rights.end());
    return rights;
}

const Group& Structure::GroupAt(std::size_t index) const {
    if (index >= groups_.size())
        Fail(ErrorKind::InvalidArgument, OutOfRange("group", index, groups_.size()));
    return groups_[index];
}

const Group* Structure::FindGroupById(std::string_view id) const {
    auto found = group_index_.find(id);
    return found == group_index_.end() ? nullptr : &groups_[found->second];
}

const Group* Structure::FindGroupByHandle(std::int32_t handle) const {
    for (const auto& group : groups_)
        if (group.handle == handle)
            return &group;
    return nullptr;
}

Group& Structure::MutableGroup(std::int32_t handle) {
    if (handle == 0)
        Fail(ErrorKind::InvalidArgument, "group handle 0 names no group");
    const Group* group = FindGroupByHandle(handle);
    if (!group)
        Fail(ErrorKind::NotFound, "group handle " + std::to_string(handle) + " names no group");
    return const_cast<Group&>(*group);
}

std::int32_t Structure::NextGroup(std::int32_t handle) const {
    if (handle == 0)
        return groups_.empty() ? 0 : groups_.front().handle;
    for (std::size_t i = 0; i < groups_.size(); ++i)
        if (groups_[i].handle == handle)
            return i + 1 < groups_.size() ? groups_[i + 1].handle : 0;
    Fail(ErrorKind::NotFound, "group handle " + std::to_string(handle) + " names no group");
}

std::int32_t Structure::AddGroup(std::string_view id, std::string name) {
    if (id.empty())
        Fail(ErrorKind::InvalidArgument, "a group identifier must not be empty");
    auto found = group_index_.find(id);
    if (found != group_index_.end()) {
        groups_[found->second].name = std::move(name);
        Changed();
        return groups_[found->second].handle;
    }
    group_index_.emplace(std::string(id), groups_.size());
    groups_.push_back(Group{std::string(id), std::move(name), next_group_handle_++, {}});
    Changed();
    return groups_.back().handle;
}

bool Structure::RemoveGroup(std::string_view id) {
    auto found = group_index_.find(id);
    if (found == group_index_.end())
        return false;
    EraseAt(groups_, group_index_, found->second, &Group::id);
    Changed();
    return true;
}

std::optional<std::int32_t> Structure::GetRights(std::int32_t handle, const Guid& key) const {
    if (handle == 0)
        return std::nullopt;
    const Group* group = FindGroupByHandle(handle);
    if (!group)
        Fail(ErrorKind::NotFound, "group handle " + std::to_string(handle) + " names no group");
    auto found = group->rights.find(key);
    if (found == group->rights.end())
        return std::nullopt;
    return found->second;
}

void Structure::SetRights(std::int32_t handle, const Guid& key, std::int32_t rights) {
    MutableGroup(handle).rights[key] = rights;
    Changed();
}

void Structure::RemoveRights(std::int32_t handle, const Guid& key) {
    if (MutableGroup(handle).rights.erase(key))
        Changed();
}

// --- event items and event groups -------------------------------------------------------------

const EventItem& Structure::EventItemAt(std::size_t index) const {
    if (index >= event_items_.size())
        Fail(ErrorKind::InvalidArgument, OutOfRange("event item", index, event_items_.size()));
    return event_items_[index];
}

const EventItem& Structure::EventItemById(EntityId id) const {
    for (const auto& item : event_items_)
        if (item.id == id)
            return item;
    Fail(ErrorKind::Removed, "the event item no longer exists in the model");
}

void Structure::AddEventItem(std::string_view name, bool allow_changes) {
    for (auto& item : event_items_)
        if (item.name == name) {
            item.allow_changes = allow_changes;
            Changed();
            return;
        }
    event_items_.push_back(EventItem{NewEntityId(), std::string(name), allow_changes});
    Changed();
}

void Structure::SetAllowChanges(EntityId id, bool allow_changes) {
    const_cast<EventItem&>(EventItemById(id)).allow_changes = allow_changes;
    Changed();
}

const EventGroup* Structure::FindEventGroup(std::string_view name) const {
    for (const auto& group : event_groups_)
        if (group.name == name)
            return &group;
    return nullptr;
}

void Structure::SetEventGroup(EventGroup group) {
    if (group.name.empty())
        Fail(ErrorKind::InvalidArgument, "an event group name must not be empty");
    if (auto* existing = const_cast<EventGroup*>(FindEventGroup(group.name)))
        *existing = std::move(group);
    else
        event_groups_.push_back(std::move(group));
    Changed();
}

void Structure::SetEventHandler(std::string_view group, const Guid& owner, const Guid& attribute,
                                std::int32_t kind, std::string code) {
    EventGroup changed;
    if (const EventGroup* existing = FindEventGroup(group))
        changed = *existing;
    else
        changed.name = std::string(group);
    SetHandlerCode(changed, owner, attribute, kind, std::move(code));
    SetEventGroup(std::move(changed));
}

std::vector<std::pair<Guid, Guid>> HandlerOwners(const EventGroup& group) {
    std::vector<std::pair<Guid, Guid>> owners;
    for (const auto& handler : group.handlers) {
        std::pair owner{handler.owner, handler.attribute};
        if (std::find(owners.begin(), owners.end(), owner) == owners.end())
            owners.push_back(owner);
    }
    return owners;
}

std::string HandlerCode(const EventGroup& group, const Guid& owner, const Guid& attribute,
                        std::int32_t kind) {
    for (const auto& handler : group.handlers)
        if (handler.owner == owner && handler.attribute == attribute && handler.kind == kind)
            return handler.code;
    return {};
}

void SetHandlerCode(EventGroup& group, const Guid& owner, const Guid& attribute, std::int32_t kind,
                    std::string code) {
    auto& handlers = group.handlers;
    auto found = std::find_if(handlers.begin(), handlers.end(), [&](const EventHandler& h) {
        return h.owner == owner && h.attribute == attribute && h.kind == kind;
    });
    if (code.empty()) {
        if (found != handlers.end())
            handlers.erase(found);
    } else if (found != handlers.end()) {
        found->code = std::move(code);
    } else {
        handlers.push_back(EventHandler{owner, attribute, kind, std::move(code)});
    }
}

} // namespace zk
