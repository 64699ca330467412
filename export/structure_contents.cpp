#include "export/structure_contents.h"

#include <string_view>
#include <unordered_map>

namespace kv::html {

std::vector<std::vector<std::size_t>> ParentPositions(const std::vector<ClassEntry>& classes) {
    // Parents by child name, filled in position order of the parents.
    std::unordered_map<std::string_view, std::vector<std::size_t>> parents_by_name;
    for (std::size_t parent = 0; parent < classes.size(); ++parent) {
        for (const std::string& child : classes[parent].children) {
            std::vector<std::size_t>& parents = parents_by_name[child];
            if (parents.empty() || parents.back() != parent)
                parents.push_back(parent);
        }
    }
    std::vector<std::vector<std::size_t>> result(classes.size());
    for (std::size_t position = 0; position < classes.size(); ++position) {
        const auto found = parents_by_name.find(classes[position].name);
        if (found != parents_by_name.end())
            result[position] = found->second;
    }
    return result;
}

} // namespace kv::html
