#include "com/name_lookup.h"

#include "com/com_support.h"
#include "com/kernel_switches.h"

#include <utility>

namespace zk::com {

namespace {

bool IgnoresCase() {
    return kernel_switches.name_lookup_ignores_case.load(std::memory_order_relaxed);
}

// The first of the stored names (`count` of them, `name_at(i)`) equal to the given one ignoring
// case, compared as Windows compares names (upper-casing each UTF-16 unit); else the given one.
template <class NameAt>
std::string FirstIgnoringCase(std::string given, std::size_t count, NameAt name_at) {
    const std::wstring wanted = Wide(given);
    for (std::size_t index = 0; index < count; ++index) {
        const std::string& stored = name_at(index);
        const std::wstring candidate = Wide(stored);
        if (CompareStringOrdinal(wanted.data(), static_cast<int>(wanted.size()), candidate.data(),
                                 static_cast<int>(candidate.size()), TRUE) == CSTR_EQUAL)
            return stored;
    }
    return given;
}

} // namespace

std::string StoredClassName(const Structure& structure, BSTR name) {
    std::string given = Utf8(name);
    if (!IgnoresCase() || structure.FindClass(given))
        return given;
    return FirstIgnoringCase(std::move(given), structure.ClassCount(),
                             [&](std::size_t index) -> const std::string& {
                                 return structure.Class(structure.ClassAt(index)).name;
                             });
}

std::string StoredAttributeName(const Structure& structure, EntityId cls, BSTR name) {
    std::string given = Utf8(name);
    if (!IgnoresCase() || structure.FindAttribute(cls, given))
        return given;
    return FirstIgnoringCase(std::move(given), structure.AttributeCount(cls),
                             [&](std::size_t index) -> const std::string& {
                                 return structure.Declaring(structure.AttributeAt(cls, index)).name;
                             });
}

std::string StoredFilterName(const Structure& structure, BSTR name) {
    std::string given = Utf8(name);
    if (!IgnoresCase() || structure.FindFilter(given))
        return given;
    return FirstIgnoringCase(
        std::move(given), structure.FilterCount(),
        [&](std::size_t index) -> const std::string& { return structure.FilterAt(index).name; });
}

} // namespace zk::com
