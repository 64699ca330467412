// Scenario fragments for classes: create or change, remove. Each generator appends its fragment
// to ScriptBuffer, ending with an empty item, and returns true; with no recording open, or with
// no class object, it writes nothing and returns false. A failing kernel read raises an error;
// the items already appended stay.
#pragma once

#include <windows.h>

#include <zkernel.h>

#include <string_view>

namespace kv {

// What scriptClass adds beside the class's own lines.
struct ClassFragmentOptions {
    bool attributeRights = false; // give every attribute of the class the class's rights
    bool links = false;           // the class's child and parent links
    bool filters = false;         // the constraints that name the class
    bool updateOnly = false;      // no removal, no base class, attributes only where missing
};

// The class, read from the kernel, under `name` (its old name). An empty name rewrites the class
// completely: unless updating only, its removal comes first, and every own attribute follows.
bool scriptClass(IZClass* cls, std::wstring_view name, const ClassFragmentOptions& options);

// The removal of the class of that name; the name is trimmed of spaces and control characters,
// and a name that is then empty gives nothing.
bool scriptClsRemove(std::wstring_view className);

} // namespace kv
