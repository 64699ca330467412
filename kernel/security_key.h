// The identifier under which the kernel keeps rights of a class or an attribute.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <optional>

namespace kv {

// The item's four-word security key laid out as one 16-byte GUID: an attribute's if the item
// is one, else a class's; none for anything else.
std::optional<GUID> SecurityKeyOf(IUnknown* item);

} // namespace kv
