// Two structures compared in everything that a recording of a whole structure carries: classes
// (as a set) with identifiers, screen names, positions, bases and child links (as a set);
// attributes in order with own or inherited status and every recorded field and property;
// filters with captions and constraints (as a set); modules; groups and the rights of every
// group on every class and attribute.
//
// Left out by name, since plain recording never writes them: blocked flags, precision, event
// groups and event items, the model name. Code (function code, module text) is compared with
// every line break taken as CR LF, and property values as the texts a scenario carries.
#pragma once

#include "core/structure.h"

#include <functional>
#include <string>
#include <vector>

namespace kvgen {

// The text of a property value, as a recording writes it into a scenario.
using ValueText = std::function<std::string(const zk::Value&)>;

// A text form that needs no platform: integers in decimal, reals in their shortest exact form,
// booleans "True" and "False", empty and null "". Windows programs compare with the platform's
// own variant conversion instead, which is what a recording writes there.
std::string PortableValueText(const zk::Value& value);

// Readable difference lines ("class \"Part 3\": screen name: expected \"a\", got \"b\""), in a
// stable order; none when the structures agree.
std::vector<std::string> RecordedComparison(const zk::Structure& expected,
                                            const zk::Structure& actual,
                                            const ValueText& value_text = PortableValueText);

} // namespace kvgen
