// Whether a structure reached the target of a difference scenario, in the aspects the difference
// carries. Pure: no Windows header.
//
// Compared: the classes (as a set); screen name and blocked flag of every class; child links (as
// sets); the attributes of every class (names as a set, and the order of the target's own
// attributes); type, data type, function code, blocked, unit, entity and forbid-input of every
// attribute; the target's property values (as text; properties only the result has are left
// alone); filters (as a set) and their constraints (as sets); the rights of the target's groups on
// every class and attribute. For classes and attributes that the original structure lacked, also
// their identifiers, the class's base and position, and the attribute's screen name, alias and
// group.
//
// Not compared, since the difference never writes them for what both structures have: modules,
// identifiers and positions of common objects, base classes of common classes, screen name,
// alias and group of common attributes, precision, own or inherited status, the order of
// inherited entries, filter captions, constraint order, groups themselves.
#pragma once

#include "core/structure.h"

#include <functional>
#include <string>
#include <vector>

namespace kvtest {

// A property value as text, as the platform converts it (a scenario sets every value as text).
using ValueText = std::function<std::string(const zk::Value&)>;

// One line for every difference between `result` and `target`; `original` is the structure the
// difference started from, which tells new objects from common ones.
std::vector<std::string> DifferenceAspects(const zk::Structure& original,
                                           const zk::Structure& result, const zk::Structure& target,
                                           const ValueText& valueText);

} // namespace kvtest
