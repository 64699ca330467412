#include "export/structure_page.h"

#include "export/html_escape.h"
#include "export/html_pieces.h"
#include "export/type_words.h"
#include "text/script_format.h"

#include <functional>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace kv::html {
namespace {

// The page file being built: each piece is appended with its CR LF, and the text is handed on
// whenever it reaches the size asked for, so a large page is never held whole.
class PageText {
public:
    PageText(std::size_t pieceSize, const PagePieceSink& take)
        : piece_size_(pieceSize), take_(take) {
        text_.reserve(pieceSize + pieceSize / 4);
    }
    void Add(std::string_view piece) {
        text_ += piece;
        text_ += "\r\n";
        HandOnWhenFull();
    }
    void Formatted(const ScriptTemplate& pieceTemplate, std::initializer_list<FormatValue> values) {
        AppendFormat(text_, pieceTemplate, values);
        text_ += "\r\n";
        HandOnWhenFull();
    }
    void HandOnRest() {
        if (!text_.empty())
            take_(text_);
        text_.clear();
    }

private:
    void HandOnWhenFull() {
        if (text_.size() >= piece_size_)
            HandOnRest();
    }

    std::size_t piece_size_;
    const PagePieceSink& take_;
    std::string text_;
};

// A link to a class's anchor, the class name as its text.
void AppendLink(std::string& list, const ModelText& class_name) {
    AppendFormat(list, LinkPiece, {EscapedUnquotedAttribute(class_name), EscapedText(class_name)});
}

// Links joined by ", ", or the word for none.
template <class Names> std::string LinkList(const Names& names) {
    std::string list;
    for (const auto& name : names) {
        if (!list.empty())
            list += ListSeparator;
        AppendLink(list, name);
    }
    return list.empty() ? std::string(EmptyListText) : list;
}

void AddAttributeRow(PageText& page, const AttributeEntry& attribute, std::string& line) {
    page.Add(RowStartPiece);
    page.Formatted(FirstCellPiece, {EscapedText(attribute.name)});
    page.Formatted(NextCellPiece, {AttributeTypeWords(attribute.kind, attribute.data_type)});
    page.Formatted(NextCellPiece, {EscapedText(attribute.screen_name)});
    page.Add(OpenCellPiece);
    for (const PropertyEntry& property : attribute.properties) {
        line.clear();
        line += EscapedText(property.name);
        line += " = ";
        line += EscapedText(property.value);
        page.Formatted(PropertyLinePiece, {line});
    }
    if (attribute.properties.empty())
        page.Add(NoPropertiesPiece);
    page.Add(CellEndPiece);
    page.Add(RowEndPiece);
}

void AddClass(PageText& page, const StructureContents& contents, std::size_t position,
              const std::vector<AttributeEntry>& attributes,
              const std::vector<std::size_t>& parents) {
    const ClassEntry& cls = contents.classes[position];
    std::string display_name = EscapeText(cls.name);
    if (!cls.screen_name.empty())
        display_name += " (" + EscapeText(cls.screen_name) + ")";

    page.Add(RowStartPiece);
    page.Formatted(ClassHeadingCellPiece, {EscapedUnquotedAttribute(cls.name), display_name});
    page.Add(RowEndPiece);
    // A class without attributes is only its heading, whatever its links.
    if (attributes.empty())
        return;

    page.Add(AttributeHeaderPiece);
    std::string line; // one property's line, its storage serving every line of the class
    for (const AttributeEntry& attribute : attributes)
        AddAttributeRow(page, attribute, line);

    page.Formatted(SubordinatesRowPiece, {LinkList(cls.children)});
    std::vector<std::reference_wrapper<const ModelText>> parent_names;
    for (const std::size_t parent : parents)
        parent_names.push_back(contents.classes[parent].name);
    page.Formatted(ParentsRowPiece, {LinkList(parent_names)});
}

void AddFilter(PageText& page, const FilterEntry& filter) {
    const std::string caption =
        filter.caption.empty() ? std::string(EmptyCaptionText) : EscapeText(filter.caption);
    page.Formatted(FilterRowPiece,
                   {EscapeText(filter.name), caption, LinkList(filter.constraints)});
}

} // namespace

void ForEachStructurePagePiece(const StructureContents& contents,
                               const ClassAttributes& attributesOf, std::size_t pieceSize,
                               const PagePieceSink& take) {
    PageText page(pieceSize, take);
    page.Add(HeadPiece);
    page.Formatted(ModelHeadingPiece,
                   {EscapeText(contents.model_name), contents.class_count, contents.filter_count});
    page.Add(ClassesTitlePiece);
    page.Add(TableStartPiece);

    const std::vector<std::vector<std::size_t>> parents = ParentPositions(contents.classes);
    for (std::size_t position = 0; position < contents.classes.size(); ++position)
        AddClass(page, contents, position, attributesOf(position), parents[position]);

    page.Add(TableEndPiece);
    page.Add(FiltersTitlePiece);
    page.Add(TableStartPiece);
    page.Add(FilterHeaderPiece);
    for (const FilterEntry& filter : contents.filters)
        AddFilter(page, filter);
    page.Add(TableEndPiece);
    page.Add(EndPiece);
    page.HandOnRest();
}

std::string StructurePageText(const StructureContents& contents) {
    std::string text;
    ForEachStructurePagePiece(
        contents,
        [&](std::size_t position) -> const std::vector<AttributeEntry>& {
            return contents.classes[position].attributes;
        },
        1 << 16, [&](std::string_view piece) { text += piece; });
    return text;
}

} // namespace kv::html
