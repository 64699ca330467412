#include "export/structure_page.h"

#include "export/html_escape.h"
#include "export/html_pieces.h"
#include "export/type_words.h"
#include "recording/script_format.h"

#include <string_view>

namespace kv::html {
namespace {

using Pieces = std::vector<std::string>;

// A link to a class's anchor, the class name as its text.
std::string Link(std::string_view class_name) {
    return Format(LinkPiece, {EscapeUnquotedAttribute(class_name), EscapeText(class_name)});
}

// Links joined by ", ", or the word for none.
template <class Names> std::string LinkList(const Names& names) {
    std::string list;
    for (const auto& name : names) {
        if (!list.empty())
            list += ListSeparator;
        list += Link(name);
    }
    return list.empty() ? std::string(EmptyListText) : list;
}

void AddAttributeRow(Pieces& page, const AttributeEntry& attribute) {
    page.emplace_back(RowStartPiece);
    page.push_back(Format(FirstCellPiece, {EscapeText(attribute.name)}));
    page.push_back(
        Format(NextCellPiece, {AttributeTypeWords(attribute.kind, attribute.data_type)}));
    page.push_back(Format(NextCellPiece, {EscapeText(attribute.screen_name)}));
    page.emplace_back(OpenCellPiece);
    for (const PropertyEntry& property : attribute.properties) {
        const std::string line = EscapeText(property.name) + " = " + EscapeText(property.value);
        page.push_back(Format(PropertyLinePiece, {line}));
    }
    if (attribute.properties.empty())
        page.emplace_back(NoPropertiesPiece);
    page.emplace_back(CellEndPiece);
    page.emplace_back(RowEndPiece);
}

void AddClass(Pieces& page, const StructureContents& contents, std::size_t position,
              const std::vector<std::size_t>& parents) {
    const ClassEntry& cls = contents.classes[position];
    std::string display_name = EscapeText(cls.name);
    if (!cls.screen_name.empty())
        display_name += " (" + EscapeText(cls.screen_name) + ")";

    page.emplace_back(RowStartPiece);
    page.push_back(
        Format(ClassHeadingCellPiece, {EscapeUnquotedAttribute(cls.name), display_name}));
    page.emplace_back(RowEndPiece);
    // A class without attributes is only its heading, whatever its links.
    if (cls.attributes.empty())
        return;

    page.emplace_back(AttributeHeaderPiece);
    for (const AttributeEntry& attribute : cls.attributes)
        AddAttributeRow(page, attribute);

    page.push_back(Format(SubordinatesRowPiece, {LinkList(cls.children)}));
    std::vector<std::string_view> parent_names;
    for (const std::size_t parent : parents)
        parent_names.push_back(contents.classes[parent].name);
    page.push_back(Format(ParentsRowPiece, {LinkList(parent_names)}));
}

void AddFilter(Pieces& page, const FilterEntry& filter) {
    const std::string caption =
        filter.caption.empty() ? std::string(EmptyCaptionText) : EscapeText(filter.caption);
    page.push_back(
        Format(FilterRowPiece, {EscapeText(filter.name), caption, LinkList(filter.constraints)}));
}

} // namespace

std::vector<std::string> BuildStructurePage(const StructureContents& contents) {
    Pieces page;
    page.emplace_back(HeadPiece);
    page.push_back(Format(ModelHeadingPiece, {EscapeText(contents.model_name), contents.class_count,
                                              contents.filter_count}));
    page.emplace_back(ClassesTitlePiece);
    page.emplace_back(TableStartPiece);

    const std::vector<std::vector<std::size_t>> parents = ParentPositions(contents.classes);
    for (std::size_t position = 0; position < contents.classes.size(); ++position)
        AddClass(page, contents, position, parents[position]);

    page.emplace_back(TableEndPiece);
    page.emplace_back(FiltersTitlePiece);
    page.emplace_back(TableStartPiece);
    page.emplace_back(FilterHeaderPiece);
    for (const FilterEntry& filter : contents.filters)
        AddFilter(page, filter);
    page.emplace_back(TableEndPiece);
    page.emplace_back(EndPiece);
    return page;
}

std::string PageFileText(const std::vector<std::string>& pieces) {
    std::size_t size = 0;
    for (const std::string& piece : pieces)
        size += piece.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& piece : pieces) {
        text += piece;
        text += "\r\n";
    }
    return text;
}

} // namespace kv::html
