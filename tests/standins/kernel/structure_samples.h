// A structure that holds every kind of data the kernel keeps, for round-trip tests.
#pragma once

#include "core/structure.h"

namespace zk::testing {

// Classes in an order that is not their inheritance order, inherited entries among own ones,
// an own copy of an inherited entry, links (a self-link too), every property value kind
// (NaN, -0.0, extremes), CR LF and non-ASCII text, filters, modules, groups with rights,
// event items and event groups.
Structure RichStructure();

} // namespace zk::testing
