// Rights of user groups copied between objects and structures: CopyObjectRights for the
// import, and the whole-store copy behind zsCopyModelRights.
#pragma once

#include <windows.h>

#include <zkernel.h>

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace kv::import {

// The groups of a source security, in its order, each with the group of the same identifier in
// a target security; a group the target does not know is left out. Read on first use and kept
// for every object after it (the import copies the rights of thousands of objects between the
// same two structures and changes no group); a failing read is tried again on the next use.
class GroupPairs {
public:
    GroupPairs(IZLocalSecurity* source, IZLocalSecurity* target)
        : source_(source), target_(target) {}
    IZLocalSecurity* source() const { return source_; }
    IZLocalSecurity* target() const { return target_; }
    const std::vector<std::pair<LONG, LONG>>& Pairs();

private:
    IZLocalSecurity* source_;
    IZLocalSecurity* target_;
    std::optional<std::vector<std::pair<LONG, LONG>>> pairs_;
};

// Every group of the source security that has rights on the source object gets the same rights
// on the target object in the target security, the group found there by its identifier. A
// group the target structure does not know is passed over; nothing is removed.
void CopyObjectRights(const GUID& from, const GUID& to, GroupPairs& groups);

// In every structure of the server store, in the synchronisation manager's order: the
// destination group gets exactly the source group's rights on every class and attribute, and
// the structure is stored. Raises E_INVALIDARG when a group is missing (structures stored
// before stay stored) or when both name the same group (nothing is changed).
void CopyModelRights(std::wstring_view source_group, std::wstring_view destination_group);

} // namespace kv::import
