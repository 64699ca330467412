// What a difference scenario would change, read from the scenario's own text: the number of
// statements in each of the sections that change the structure (1-10), and the removals by name.
// Reading the scenario itself, not the two structures, means the summary always describes exactly
// what would run. Pure: no Windows header.
#pragma once

#include "scenario_string.h"

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kvhost {

// A text that is not a whole difference scenario (a section's frame missing or out of order).
class NotADifference : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The sections that change the structure; section 11 (the groups' rights) is written whole by
// every difference, so it tells nothing about drift and is not counted.
constexpr int kStructureSections = 10;

struct ChildLink {
    std::wstring parent;
    std::wstring child;
};

struct ClassAttribute {
    std::wstring className;
    std::wstring attribute;
};

struct FilterConstraint {
    std::wstring filter;
    std::wstring className;
};

// Everything the scenario removes for good. A class or filter removed only to be created again
// in the same section (as the difference re-creates a class or filter whole) is no removal.
struct Removals {
    std::vector<std::wstring> classes;
    std::vector<ChildLink> childLinks;
    std::vector<ClassAttribute> attributes;
    std::vector<std::wstring> filters;
    std::vector<FilterConstraint> constraints;

    bool empty() const {
        return classes.empty() && childLinks.empty() && attributes.empty() && filters.empty() &&
               constraints.empty();
    }
};

struct DifferenceSummary {
    // Statement lines (neither empty nor a comment) of sections 1-10, in order.
    std::array<int, kStructureSections> statements{};
    Removals removals;

    int StatementCount() const;
    // Whether running the scenario would change the structure beyond the groups' rights.
    bool Drifts() const { return StatementCount() != 0; }
};

// The English name of section `number` (1-11), for reports.
std::string_view SectionName(int number);

// Reads a difference scenario (its bytes in the code page the library wrote it in). Raises
// NotADifference when a section's begin or end line is missing or out of order.
DifferenceSummary SummariseDifference(std::string_view scenario, WidenText widen);

} // namespace kvhost
