// The structure page from what was read: escaping, type words, parents, and whole pages against
// golden files written from the page's fixed form. Runs natively and under Wine.
#include "export/html_escape.h"
#include "export/structure_page.h"
#include "export/type_words.h"
#include "sample_structures.h"
#include "support/golden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

using namespace kv::html;
using export_test::Cp1251FromUtf8;

namespace {

// What the reader would give for the structure: 1251 texts, children from the links in order.
StructureContents ContentsFromSpec(const export_test::StructureSpec& spec) {
    StructureContents contents;
    contents.model_name = Cp1251FromUtf8(spec.model_name);
    contents.class_count = static_cast<std::int32_t>(spec.classes.size());
    contents.filter_count = static_cast<std::int32_t>(spec.filters.size());
    for (const auto& cls : spec.classes) {
        ClassEntry entry{Cp1251FromUtf8(cls.name), Cp1251FromUtf8(cls.screen_name), {}, {}};
        for (const auto& attribute : cls.attributes) {
            AttributeEntry row{Cp1251FromUtf8(attribute.name),
                               attribute.kind,
                               attribute.data_type,
                               Cp1251FromUtf8(attribute.screen_name),
                               {}};
            for (const auto& property : attribute.properties) {
                const std::string value = std::holds_alternative<int>(property.value)
                                              ? std::to_string(std::get<int>(property.value))
                                              : std::get<std::string>(property.value);
                row.properties.push_back({Cp1251FromUtf8(property.name), Cp1251FromUtf8(value)});
            }
            entry.attributes.push_back(row);
        }
        for (const auto& link : spec.links) {
            if (link.parent == cls.name)
                entry.children.push_back(Cp1251FromUtf8(link.child));
        }
        contents.classes.push_back(entry);
    }
    for (const auto& filter : spec.filters) {
        FilterEntry entry{Cp1251FromUtf8(filter.name), Cp1251FromUtf8(filter.caption), {}};
        for (const auto& constraint : filter.constraints)
            entry.constraints.push_back(Cp1251FromUtf8(constraint));
        contents.filters.push_back(entry);
    }
    return contents;
}

std::string PageOf(const export_test::StructureSpec& spec) {
    return StructurePageText(ContentsFromSpec(spec));
}

struct EscapeCase {
    std::string input;
    std::string text;
    std::string attribute;
};

} // namespace

TEST(HtmlEscape, TextAndUnquotedAttributeValues) {
    const std::vector<EscapeCase> cases = {
        {"Plain_name-1.2", "Plain_name-1.2", "Plain_name-1.2"},
        {Cp1251FromUtf8("Деталь"), Cp1251FromUtf8("Деталь"), Cp1251FromUtf8("Деталь")},
        {"", "", ""},
        {"A<B>", "A&lt;B&gt;", "A&lt;B&gt;"},
        {"Tom & Jerry", "Tom &amp; Jerry", "Tom&#32;&amp;&#32;Jerry"},
        {"&amp;", "&amp;amp;", "&amp;amp;"},
        {"say \"hi\"", "say &quot;hi&quot;", "say&#32;&quot;hi&quot;"},
        {"it's x=`1`", "it's x=`1`", "it&#39;s&#32;x&#61;&#96;1&#96;"},
        {"a\tb\r\nc\fd", "a\tb\r\nc\fd", "a&#9;b&#13;&#10;c&#12;d"},
        {"path/to#x", "path/to#x", "path/to#x"},
    };
    for (const EscapeCase& c : cases) {
        EXPECT_EQ(EscapeText(std::string_view(c.input)), c.text) << c.input;
        EXPECT_EQ(EscapeUnquotedAttribute(std::string_view(c.input)), c.attribute) << c.input;
    }
}

// A character that the code page lacks ("мм²", "≤", one outside the BMP) stands where the reader
// noted it, as a numeric character reference, between the escaped bytes.
TEST(HtmlEscape, CharactersTheCodePageLacksBecomeNumericReferences) {
    struct Case {
        ModelText input;
        std::string text;
        std::string attribute;
    };
    const auto withReferences = [](std::string bytes, std::vector<ModelText::Reference> refs) {
        ModelText text(std::move(bytes));
        text.references = std::move(refs);
        return text;
    };
    const Case cases[] = {
        {withReferences("mm", {{2, 178}}), "mm&#178;", "mm&#178;"},
        {withReferences("a<b", {{1, 0x2264}}), "a&#8804;&lt;b", "a&#8804;&lt;b"},
        {withReferences("x y", {{0, 0xD8}, {3, 0x1F600}}), "&#216;x y&#128512;",
         "&#216;x&#32;y&#128512;"},
        {withReferences("", {{0, 178}, {0, 179}}), "&#178;&#179;", "&#178;&#179;"},
        {ModelText("plain"), "plain", "plain"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EscapeText(c.input), c.text) << c.text;
        EXPECT_EQ(std::string_view(EscapedText(c.input)), c.text) << c.text;
        EXPECT_EQ(std::string_view(EscapedUnquotedAttribute(c.input)), c.attribute) << c.text;
    }
}

TEST(AttributeTypeWords, KindPrefixDirectlyBeforeDataTypeWord) {
    struct Case {
        int kind;
        const char* data_type;
        std::string words; // UTF-8
    };
    const std::vector<Case> cases = {
        {1, "{DDF29044-F2DA-4457-9CA2-CA0F1E6501A6}", "функцияinteger"},
        {2, "{51AF1A06-C000-4ED4-940D-ADD3B199EB5E}", "вычисляемый:<br>&nbsp;double"},
        {0, "{751A3E7F-86DC-4527-91C8-79919F3B3FA3}", "string"},
        {7, "{B7672ACF-D5AA-4432-AA5C-ACF9FF8A27F7}", "text"},
        {-1, "{1739DAD4-D175-4B0A-B2C7-55759916F7EF}", "boolean"},
        {0, "{BDB20E23-B5D7-4966-8110-6F4EFD8764BB}", "date"},
        {0, "{2B02B52B-7C4A-40A7-845A-DA553A1B0DA1}", "file"},
        {0, "{F0CA433A-74E7-47B0-958C-CC1EBAC73DA8}", "stream"},
        {0, "{428CC298-47D3-4D09-8B7C-E6F36518C724}", "размер"},
        {2, "{B6C89FE7-2B27-492C-962E-9940365E6201}", "вычисляемый:<br>&nbsp;шероховатость"},
        {1, "{00000000-0000-0000-0000-000000000000}", "функция"},
        {2, "{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}", "вычисляемый:<br>&nbsp;"},
        {3, "{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AttributeTypeWords(c.kind, c.data_type), Cp1251FromUtf8(c.words))
            << c.kind << " " << c.data_type;
}

TEST(ParentPositions, ParentsInPositionOrderEachOnceSelfIncluded) {
    std::vector<ClassEntry> classes(4);
    classes[0].name = "A";
    classes[0].children = {"C", "A"};
    classes[1].name = "B";
    classes[1].children = {"A", "Missing", "C", "C"};
    classes[2].name = "C";
    classes[3].name = "D";
    classes[3].children = {"A"};

    const auto parents = ParentPositions(classes);
    ASSERT_EQ(parents.size(), 4u);
    EXPECT_EQ(parents[0], (std::vector<std::size_t>{0, 1, 3}));
    EXPECT_EQ(parents[1], std::vector<std::size_t>{});
    EXPECT_EQ(parents[2], (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(parents[3], std::vector<std::size_t>{});
}

// "A²" and "A³" look alike in the code page's bytes ("A" and a reference); each is its own class.
TEST(ParentPositions, NamesThatLookAlikeInTheCodePageStayApart) {
    ModelText squared("A");
    squared.references = {{1, 178}};
    ModelText cubed("A");
    cubed.references = {{1, 179}};
    std::vector<ClassEntry> classes(3);
    classes[0].name = squared;
    classes[1].name = cubed;
    classes[2].name = "P";
    classes[2].children = {squared};

    const auto parents = ParentPositions(classes);
    EXPECT_EQ(parents[0], std::vector<std::size_t>{2});
    EXPECT_EQ(parents[1], std::vector<std::size_t>{});
}

TEST(StructurePage, GoldenStructure) {
    EXPECT_EQ(PageOf(export_test::GoldenStructure()),
              kvtest::GoldenText(KV_EXPORT_GOLDEN_DIR, "golden_structure"));
}

// The export writes the page in parts as it reads each class's attributes: any part size gives
// the same bytes, each class is asked for once and in order, and a failing read ends the page
// at that class.
TEST(StructurePage, PartsJoinToThePageAndAFailingReadEndsIt) {
    const StructureContents contents = ContentsFromSpec(export_test::GoldenStructure());
    const std::string whole = StructurePageText(contents);
    for (const std::size_t part_size : {1u, 100u, 4096u, 1u << 20}) {
        StructureContents outline = contents;
        for (ClassEntry& cls : outline.classes)
            cls.attributes.clear();
        std::vector<std::size_t> asked;
        std::string joined;
        std::size_t parts = 0;
        ForEachStructurePagePiece(
            outline,
            [&](std::size_t position) -> const std::vector<AttributeEntry>& {
                asked.push_back(position);
                return contents.classes[position].attributes;
            },
            part_size,
            [&](std::string_view part) {
                joined += part;
                ++parts;
            });
        EXPECT_EQ(joined, whole) << "parts of " << part_size;
        EXPECT_EQ(asked.size(), contents.classes.size());
        EXPECT_TRUE(std::is_sorted(asked.begin(), asked.end()));
        if (part_size >= whole.size())
            EXPECT_EQ(parts, 1u);
    }

    std::string written;
    EXPECT_THROW(ForEachStructurePagePiece(
                     contents,
                     [&](std::size_t position) -> const std::vector<AttributeEntry>& {
                         if (position == 1)
                             throw std::runtime_error("the kernel failed");
                         return contents.classes[position].attributes;
                     },
                     1, [&](std::string_view part) { written += part; }),
                 std::runtime_error);
    EXPECT_LT(written.size(), whole.size());
    EXPECT_EQ(whole.compare(0, written.size(), written), 0) << "what was handed on is the start";
}

TEST(StructurePage, EmptyStructureHasHeadersOnly) {
    EXPECT_EQ(PageOf(export_test::EmptyStructure()),
              kvtest::GoldenText(KV_EXPORT_GOLDEN_DIR, "golden_empty"));
}

TEST(StructurePage, ModelTextsCannotOpenTagsOrLeaveAttributes) {
    const std::string page = PageOf(export_test::SpecialCharacterStructure());
    const std::vector<std::string> expected = {
        "<b>&lt;i&gt;" + Cp1251FromUtf8("Модель") + "&lt;/i&gt; &amp; &quot;" +
            Cp1251FromUtf8("кавычки") + "&quot;</b>",
        "<a name=A&lt;B>" + Cp1251FromUtf8("Класс") +
            " <b>A&lt;B (x &gt; y &amp; &quot;z&quot;)</b></a>",
        "<a name=Tom&#32;&amp;&#32;Jerry>",
        "<a name=Say&#32;&quot;hi&quot;&#32;x&#61;1>",
        "<a name=it&#39;s&#32;&#96;x&#96;&#32;y>",
        "&nbsp;a&lt;b&gt;&amp;amp;</td>",
        "&nbsp;&lt;script&gt;alert(1)&lt;/script&gt;</td>",
        "   k&amp;&quot;v&quot; = 1 &lt; 2 &amp; 'q'<br>",
        "   <a href=#Tom&#32;&amp;&#32;Jerry>Tom &amp; Jerry</a>,    "
        "<a href=#Say&#32;&quot;hi&quot;&#32;x&#61;1>Say &quot;hi&quot; x=1</a>",
        "   <a href=#Tom&#32;&amp;&#32;Jerry>Tom &amp; Jerry</a>,    <a href=#Plain>Plain</a>",
        "<b>F&lt;1&gt;</b><br>(a &amp; b)",
    };
    for (const std::string& piece : expected)
        EXPECT_NE(page.find(piece), std::string::npos) << piece;
    for (const char* raw : {"A<B", "<script>", "Tom & Jerry", "\"hi\"", "<i>"})
        EXPECT_EQ(page.find(raw), std::string::npos) << raw;
}
