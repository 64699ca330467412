// The parts of a structure comparison beside classes and attributes.
#pragma once

#include "comparison_lines.h"
#include "core/structure.h"

namespace kvgen {

// Filters in order, with captions and constraints (as a set).
void CompareFilters(ComparisonLines& lines, const zk::Structure& expected,
                    const zk::Structure& actual);
// Modules in order, their code with line breaks as CR LF.
void CompareModules(ComparisonLines& lines, const zk::Structure& expected,
                    const zk::Structure& actual);
// Groups (identifiers and names) in order, and each group's rights on every class and own
// attribute present in both structures, looked up by each structure's own identifiers.
void CompareGroupsAndRights(ComparisonLines& lines, const zk::Structure& expected,
                            const zk::Structure& actual);

} // namespace kvgen
