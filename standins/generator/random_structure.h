// Random structures for tests and benchmarks: one seed and one shape always give the same
// structure, natively and in the 32-bit Windows build.
//
// A structure holds classes in a shuffled order (derived classes may come before their bases),
// bases up to a depth, own and inherited attributes with every field set, inherited entries cut
// into own ones, properties of several value kinds, child links (one class is its own child),
// filters with captions and constraints, global modules with CR LF code, user groups with rights
// on classes and attributes, diagram positions, and names with blanks, "%" and Cyrillic letters.
// Every text fits the Windows-1251 code page, in which scenarios carry it.
#pragma once

#include "core/structure.h"

#include <cstdint>

namespace kvgen {

struct Shape {
    int classes = 10;
    int attributes_per_class = 4; // own attributes added to each class (inherited come on top)
    int groups = 3;
    int filters = 2;
    int modules = 2;
    int max_depth = 3;                // bases above one class at most
    int base_percent = 60;            // chance that a class gets a base
    int cut_percent = 30;             // chance that an inherited entry is cut into an own one
    int children_per_class = 2;       // child links of one class, at most
    int properties_per_attribute = 3; // at most
    int constraints_per_filter = 4;   // at most
    int rights_percent = 60;          // chance that a group has rights on a class or attribute

    // The benchmark's structures: 25 attributes per class, 8 groups, a filter per 10 classes,
    // 50 modules.
    static Shape Benchmark(int classes);
    // Classes without attributes, and nothing else: no groups, filters or modules.
    static Shape Bare();
};

zk::Structure RandomStructure(std::uint32_t seed, const Shape& shape = Shape{});

// A structure holding only the user groups of the given one (same identifiers, names and
// order, no rights): the model a replay of a whole recording starts from.
zk::Structure GroupsOnly(const zk::Structure& structure);

} // namespace kvgen
