#include "recording/structure_fragments_text.h"

#include "text/literal_encoding.h"
#include "text/scenario_templates.h"
#include "text/script_format.h"

namespace kv {

ScriptItems LinkFragment(std::string_view parent, std::string_view child, bool remove) {
    const std::string parentComment = PlainTextInComment(parent);
    const std::string childComment = PlainTextInComment(child);
    const std::string parentLiteral = PlainTextInLiteral(parent);
    const std::string childLiteral = PlainTextInLiteral(child);
    ScriptItems items;
    items.push_back(
        Format(remove ? tplRemoveLinkComment : tplAddLinkComment, {parentComment, childComment}));
    items.push_back(Format(tplLocateClass, {parentLiteral}));
    items.push_back(Format(remove ? tplRemoveChild : tplAddChild, {childLiteral}));
    items.emplace_back(tplEndIfClass);
    items.emplace_back();
    return items;
}

ScriptItems ConstraintFragment(std::string_view filter, std::string_view className, bool remove) {
    const std::string filterLiteral = PlainTextInLiteral(filter);
    const std::string classLiteral = PlainTextInLiteral(className);
    ScriptItems items;
    items.push_back(Format(tplFilterComment, {PlainTextInComment(filter)}));
    items.emplace_back(tplFilterVectorVar);
    items.push_back(
        Format(remove ? tplRemoveConstraint : tplAddConstraint, {filterLiteral, classLiteral}));
    items.emplace_back();
    return items;
}

std::string_view TrimModuleName(std::string_view name) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!name.empty() && isBlank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && isBlank(name.back()))
        name.remove_suffix(1);
    return name;
}

} // namespace kv
