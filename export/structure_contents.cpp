#include "export/structure_contents.h"

#include <string_view>
#include <unordered_map>

namespace kv::html {

std::vector<std::vector<std::size_t>> ParentPositions(const std::vector<ClassEntry>& classes) {
    // Parents by child name, filled in position order of the parents. Names are the kernel's:
    // two names that the code page shows alike are still two names.
    const auto hash = [](const ModelText* text) {
        return std::hash<std::string_view>{}(text->bytes) ^ text->references.size();
    };
    const auto equal = [](const ModelText* a, const ModelText* b) { return *a == *b; };
    std::unordered_map<const ModelText*, std::vector<std::size_t>, decltype(hash), decltype(equal)>
        parents_by_name(classes.size(), hash, equal);
    for (std::size_t parent = 0; parent < classes.size(); ++parent) {
        for (const ModelText& child : classes[parent].children) {
            std::vector<std::size_t>& parents = parents_by_name[&child];
            if (parents.empty() || parents.back() != parent)
                parents.push_back(parent);
        }
    }
    std::vector<std::vector<std::size_t>> result(classes.size());
    for (std::size_t position = 0; position < classes.size(); ++position) {
        const auto found = parents_by_name.find(&classes[position].name);
        if (found != parents_by_name.end())
            result[position] = found->second;
    }
    return result;
}

} // namespace kv::html
