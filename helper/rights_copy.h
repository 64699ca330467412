// Rights of user groups copied between objects and structures: CopyObjectRights for the
// import, and the whole-store copy behind zsCopyModelRights.
#pragma once

#include <windows.h>

#include <zkernel.h>

#include <string_view>

namespace kv::import {

// Every group of the source security that has rights on the source object gets the same rights
// on the target object in the target security, the group found there by its identifier. A
// group the target structure does not know is passed over; nothing is removed.
void CopyObjectRights(const GUID& from, const GUID& to, IZLocalSecurity* source,
                      IZLocalSecurity* target);

// In every structure of the server store, in the synchronisation manager's order: the
// destination group gets exactly the source group's rights on every class and attribute, and
// the structure is stored. Raises E_INVALIDARG when a group is missing (structures stored
// before stay stored) or when both name the same group (nothing is changed).
void CopyModelRights(std::wstring_view source_group, std::wstring_view destination_group);

} // namespace kv::import
