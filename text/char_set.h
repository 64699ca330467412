// A set of bytes to look for in 8-bit text. Scenario and page texts are searched millions of
// times for a few special characters; std::string_view::find_first_of makes a library call per
// character searched, which costs more than the texts themselves under the target's runtime.
// Pure: no Windows header.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace kv {

class CharSet {
public:
    constexpr explicit CharSet(std::string_view members) {
        for (const char c : members)
            members_[static_cast<unsigned char>(c)] = true;
    }

    constexpr bool Contains(char c) const { return members_[static_cast<unsigned char>(c)]; }

    // The position of the first member in `text` at or after `from`; text.size() when none.
    constexpr std::size_t FindIn(std::string_view text, std::size_t from = 0) const {
        for (std::size_t i = from; i < text.size(); ++i) {
            if (Contains(text[i]))
                return i;
        }
        return text.size();
    }

    constexpr bool AnyIn(std::string_view text) const { return FindIn(text) != text.size(); }

private:
    std::array<bool, 256> members_{};
};

} // namespace kv
