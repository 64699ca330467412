// Scenario fragments for attributes: create or change, remove, reorder. Each generator appends
// its fragment to ScriptBuffer, ending with an empty item, and returns true; with no recording
// open, or with no attribute object, it writes nothing and returns false. A failing kernel read
// raises an error; the items already appended stay.
#pragma once

#include <windows.h>

#include <zkernel.h>

#include <string_view>

#include "text/literal_encoding.h"

namespace kv {

// The whole attribute, read from the kernel, under `name` (its old name; empty = its current
// one). With `onlyIfMissing` the fragment takes effect only when the class lacks an attribute of
// that name; otherwise it cuts the attribute's inheritance. An inherited entry gives nothing.
bool scriptClassValue(IZClassValue* cval, std::wstring_view name, bool onlyIfMissing);

class GroupRights;

// The same for an entry of the class whose fragment is being written, under its current name:
// the class's name and the groups for the rights lines are the ones that fragment read.
bool scriptClassEntry(IZClassValue* cval, const PlacedName& className, bool onlyIfMissing,
                      GroupRights& classGroups);

// The removal of the attribute from its class.
bool scriptCValRemove(IZClassValue* cval);

// The removal of an attribute given by its name and its class's name.
bool scriptCValRemoveName(std::wstring_view attributeName, std::wstring_view className);

// The exchange of two attributes of one class, or, with no other attribute, the move of the
// attribute to the end of its class's list. Attributes of different classes give nothing.
bool scriptCValMove(IZClassValue* cval, IZClassValue* other);

} // namespace kv
