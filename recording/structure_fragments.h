// The generators of filters, constraints, a group's rights, global modules and child links.
// Each appends its fragment to the open recording and answers whether it wrote one. Names are
// wide text, as the kernel holds them; an interface argument may be null (no object), which
// gives false and writes nothing.
#pragma once

#include <windows.h>

#include <zkernel.h>

#include <string_view>

namespace kv {

// A filter recorded as new (removeOnly false, newFilter true), changed (false, false) or
// deleted (true, false): removal unless new, then creation with its caption and constraints
// unless deleted.
bool scriptFilter(IZFilterVector* filters, std::wstring_view name, bool removeOnly, bool newFilter);

// One constraint added to or removed from a filter. Without an open recording: false.
bool scriptConstraint(std::wstring_view filter, std::wstring_view className, bool remove);

// The rights of one user group on every class and attribute of the structure.
bool scriptSecurity(IZModel* model, std::wstring_view groupId);

// A global module created or changed with its text, or removed. A module text that cannot be
// read ends the call with false; the progress line already written stays.
bool scriptModule(IZClassVector* classVector, std::wstring_view name, bool remove);

// A child link added or removed, as the host reports it.
bool scriptClassLink(std::wstring_view parent, std::wstring_view child, bool remove);

// Appends the link fragment to the open recording (the kernel's link events write it too).
void WriteLinkFragment(std::wstring_view parent, std::wstring_view child, bool remove);

} // namespace kv
