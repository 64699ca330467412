// The structures of the soak run and of its seed list: a seed and a shape name give the
// structure, a seed and a share of edits its target. Every shape stays at 8 classes or fewer, so
// that a whole recording runs in Wine's VBScript (a scenario is the body of one function, which
// that engine takes up to about 9,990 lines).
#pragma once

#include "random_structure.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvtest {

// "small": the generator's usual shape at 8 classes; "bare": classes only; "varied": every
// count and chance of the shape drawn from the seed (1 to 8 classes).
std::vector<std::string> SoakShapeNames();
std::optional<kvgen::Shape> SoakShape(std::string_view name, std::uint32_t seed);

// What the soak run checks for a fresh seed: the shape and the share of classes the edits touch
// (1 to 100), both drawn from the seed.
struct SoakDraw {
    std::string shape;
    int percent = 0;
};
SoakDraw DrawForSeed(std::uint32_t seed);

// The structure of a seed in a named shape (which must be one of SoakShapeNames), and its
// target: the structure with about `percent` of its classes edited.
zk::Structure SoakStructure(std::uint32_t seed, std::string_view shape);
zk::Structure SoakTarget(const zk::Structure& structure, std::uint32_t seed, int percent);

} // namespace kvtest
