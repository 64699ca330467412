// Random draws for the structure generator, made only from std::mt19937's raw output with
// integer arithmetic of fixed width. The standard fixes that output, but not the algorithms of
// its distributions, nor the width of size_t: this way one seed gives the same draws in a 64-bit
// native build and in the 32-bit Windows build.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

namespace kvgen {

class Dice {
public:
    explicit Dice(std::uint32_t seed) : engine_(seed) {}

    std::uint32_t Raw() { return static_cast<std::uint32_t>(engine_()); }

    // Uniform in [0, count); 0 when count is 0. Multiply-shift with rejection, so no value is
    // favoured.
    std::uint32_t Below(std::uint32_t count) {
        if (count == 0)
            return 0;
        std::uint64_t product = std::uint64_t{Raw()} * count;
        auto low = static_cast<std::uint32_t>(product);
        if (low < count) {
            const std::uint32_t threshold = (0u - count) % count;
            while (low < threshold) {
                product = std::uint64_t{Raw()} * count;
                low = static_cast<std::uint32_t>(product);
            }
        }
        return static_cast<std::uint32_t>(product >> 32);
    }

    // Uniform in [low, high], both included (low <= high).
    std::int32_t Between(std::int32_t low, std::int32_t high) {
        const auto span = static_cast<std::uint32_t>(static_cast<std::int64_t>(high) - low + 1);
        return static_cast<std::int32_t>(static_cast<std::int64_t>(low) + Below(span));
    }

    // True in about percent cases out of 100.
    bool Chance(std::uint32_t percent) { return Below(100) < percent; }

    template <class T> const T& Pick(const std::vector<T>& items) {
        return items[Below(static_cast<std::uint32_t>(items.size()))];
    }
    std::string_view Pick(std::initializer_list<std::string_view> items) {
        return items.begin()[Below(static_cast<std::uint32_t>(items.size()))];
    }

    // Fisher-Yates with the draws above.
    template <class T> void Shuffle(std::vector<T>& items) {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[Below(static_cast<std::uint32_t>(i))]);
    }

private:
    std::mt19937 engine_;
};

} // namespace kvgen
