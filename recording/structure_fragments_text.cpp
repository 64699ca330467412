#include "recording/structure_fragments_text.h"

#include "text/literal_encoding.h"
#include "text/scenario_templates.h"
#include "text/script_format.h"

namespace kv {

ScriptItems LinkFragment(const PlacedName& parent, const PlacedName& child, bool remove) {
    ScriptItems items;
    items.push_back(Format(remove ? tplRemoveLinkComment : tplAddLinkComment,
                           {parent.comment, child.comment}));
    items.push_back(Format(tplLocateClass, {parent.literal}));
    items.push_back(Format(remove ? tplRemoveChild : tplAddChild, {child.literal}));
    items.emplace_back(tplEndIfClass);
    items.emplace_back();
    return items;
}

ScriptItems ConstraintFragment(const PlacedName& filter, const PlacedName& className, bool remove) {
    ScriptItems items;
    items.push_back(Format(tplFilterComment, {filter.comment}));
    items.emplace_back(tplFilterVectorVar);
    items.push_back(Format(remove ? tplRemoveConstraint : tplAddConstraint,
                           {filter.literal, className.literal}));
    items.emplace_back();
    return items;
}

std::wstring_view TrimModuleName(std::wstring_view name) {
    const auto isBlank = [](wchar_t c) { return c <= L' '; };
    while (!name.empty() && isBlank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && isBlank(name.back()))
        name.remove_suffix(1);
    return name;
}

} // namespace kv
