// The fragments of the structure generators that need no kernel read: child links and filter
// constraints, and the clean-up of module names. Pure: no Windows header.
#pragma once

#include "recording/recording_state.h"
#include "text/literal_encoding.h"

#include <string_view>

namespace kv {

// A child link added (or, with remove, removed) between two classes: comment, locate the parent,
// add or remove the child, end of the block, empty item. Both scriptClassLink and the kernel's
// link events write exactly this.
ScriptItems LinkFragment(const PlacedName& parent, const PlacedName& child, bool remove);

// A constraint (a class name) added to or removed from a filter: comment, filter vector,
// the statement, empty item.
ScriptItems ConstraintFragment(const PlacedName& filter, const PlacedName& className, bool remove);

// A module name without the leading and trailing characters whose codes are up to the space.
std::wstring_view TrimModuleName(std::wstring_view name);

} // namespace kv
