// A second structure made from a first one by random edits of the kinds a difference scenario
// carries: for convergence tests (the difference from A to B, applied to A, gives B) and for the
// benchmark's pairs of structures that differ in a given share.
#pragma once

#include "core/structure.h"

#include <cstdint>

namespace kvgen {

// B made from A by edits that touch about `percent` of A's classes (at least one):
// - classes removed (only those no class derives from, so the bases of common classes stay) and
//   added at the end, each base before the classes derived from it, with own attributes;
// - screen names and blocked flags of classes;
// - child links added and removed;
// - attributes added at any position and removed (never an own attribute that hides an entry of
//   the base), type, data type, function code, blocked, unit, entity and forbid-input changed,
//   property values changed and added;
// - filters added and removed, constraints added and removed;
// - rights of the existing groups given, changed and taken away.
// Attributes of common classes are edited class by class in the class vector's order, the order
// in which a difference scenario adds them, since a class that comes before its base sees the
// base's new entries only after its own; within a class, new attributes stand in the order they
// were added (the difference adds them in list order), so that derived classes hold the inherited
// entries in the order a difference gives them. Code is drawn with CR LF line breaks, the only ones a
// scenario writes. The same seed gives the same B, natively and in the 32-bit Windows build.
zk::Structure RandomEdits(const zk::Structure& original, std::uint32_t seed, int percent = 10);

} // namespace kvgen
