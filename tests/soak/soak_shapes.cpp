#include "soak_shapes.h"

#include "dice.h"
#include "random_edits.h"

#include <stdexcept>

namespace kvtest {
namespace {

// The draws of the shape and of the share come from their own streams, so that they do not
// repeat the structure generator's first draws of the same seed.
constexpr std::uint32_t kShapeStream = 0x9e3779b9u;
constexpr std::uint32_t kDrawStream = 0x7f4a7c15u;

constexpr int kMostClasses = 8;

kvgen::Shape VariedShape(std::uint32_t seed) {
    kvgen::Dice dice(seed ^ kShapeStream);
    kvgen::Shape shape;
    shape.classes = dice.Between(1, kMostClasses);
    shape.attributes_per_class = dice.Between(0, 6);
    shape.groups = dice.Between(0, 4);
    shape.filters = dice.Between(0, 3);
    shape.modules = dice.Between(0, 3);
    shape.max_depth = dice.Between(0, 4);
    shape.base_percent = dice.Between(0, 100);
    shape.cut_percent = dice.Between(0, 100);
    shape.children_per_class = dice.Between(0, 3);
    shape.properties_per_attribute = dice.Between(0, 4);
    shape.constraints_per_filter = dice.Between(0, 5);
    shape.rights_percent = dice.Between(0, 100);
    return shape;
}

} // namespace

std::vector<std::string> SoakShapeNames() {
    return {"small", "bare", "varied"};
}

std::optional<kvgen::Shape> SoakShape(std::string_view name, std::uint32_t seed) {
    if (name == "small") {
        kvgen::Shape shape;
        shape.classes = kMostClasses;
        return shape;
    }
    if (name == "bare")
        return kvgen::Shape::Bare();
    if (name == "varied")
        return VariedShape(seed);
    return std::nullopt;
}

SoakDraw DrawForSeed(std::uint32_t seed) {
    kvgen::Dice dice(seed ^ kDrawStream);
    // Mostly varied shapes: they reach the corners the fixed ones do not.
    static const char* const kShapes[] = {"varied", "varied", "varied", "small", "bare"};
    SoakDraw draw;
    draw.shape = kShapes[dice.Below(sizeof kShapes / sizeof kShapes[0])];
    draw.percent = dice.Between(1, 100);
    return draw;
}

zk::Structure SoakStructure(std::uint32_t seed, std::string_view shape) {
    const std::optional<kvgen::Shape> found = SoakShape(shape, seed);
    if (!found)
        throw std::invalid_argument("no soak shape named \"" + std::string(shape) + "\"");
    return kvgen::RandomStructure(seed, *found);
}

zk::Structure SoakTarget(const zk::Structure& structure, std::uint32_t seed, int percent) {
    return kvgen::RandomEdits(structure, seed, percent);
}

} // namespace kvtest
