// Lookups by name as a kernel that ignores letter case makes them, when the switch is on
// (kernel_switches.h): each function answers the name under which the structure stores what the
// given name finds. That is the given name itself when the switch is off, when an entry has
// exactly that name or when none matches it; else the first stored name equal to it ignoring
// case. The core's operations then run on the stored name.
#pragma once

#include "core/structure.h"

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace zk::com {

std::string StoredClassName(const Structure& structure, BSTR name);
// An own or inherited entry of the class.
std::string StoredAttributeName(const Structure& structure, EntityId cls, BSTR name);
std::string StoredFilterName(const Structure& structure, BSTR name);

} // namespace zk::com
