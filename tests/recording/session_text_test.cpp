// The pure parts of the recording session: the file text, module names and the fragments that
// need no kernel read, with names that try to leave their string literal or comment.
#include "recording/script_buffer_text.h"
#include "recording/structure_fragments_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kv;

namespace {

// Windows-1251 bytes of the templates' words.
const std::string kCreateLink =
    "\xD1\xEE\xE7\xE4\xE0\xF2\xFC \xF1\xE2\xFF\xE7\xFC"; // Создать связь
const std::string kRemoveLink =
    "\xD3\xE4\xE0\xEB\xE8\xF2\xFC \xF1\xE2\xFF\xE7\xFC"; // Удалить связь
const std::string kFilter = "\xD4\xE8\xEB\xFC\xF2\xF0";  // Фильтр

TEST(ScenarioFileText, EveryItemIsFollowedByCrLf) {
    EXPECT_EQ(kv::ScenarioFileText({}), "");
    EXPECT_EQ(kv::ScenarioFileText({"a", "", "b\r\nc"}), "a\r\n\r\nb\r\nc\r\n");
    // Bytes are copied as they are: no conversion, no byte-order mark.
    EXPECT_EQ(kv::ScenarioFileText({"\xC0\xFF"}), "\xC0\xFF\r\n");
}

// The bytes a scenario file of the items holds, as the file is written: piece by piece.
std::string WrittenBytes(const ScriptItemList& items) {
    std::string written;
    kv::ForEachScenarioFilePiece(items, 4096, [&](std::string_view piece) {
        written += piece;
        return true;
    });
    return written;
}

TEST(ScriptItemList, KeepsEveryItemAcrossItsBlocksAndWhenMoved) {
    // Enough items to fill several blocks, and one longer than a block.
    std::vector<std::string> expected;
    for (int i = 0; i < 20000; ++i)
        expected.push_back(std::to_string(i) + std::string(i % 97, 'a'));
    expected.insert(expected.begin() + 7000, std::string(300 * 1024, 'L'));
    expected.insert(expected.begin() + 3, "");
    ScriptItemList items;
    for (const std::string& item : expected)
        items.push_back(item);
    ScriptItemList moved = std::move(items);
    EXPECT_TRUE(items.empty());
    ASSERT_EQ(moved.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(moved[i], expected[i]) << "item " << i;
    moved.emplace_back("after the move");
    EXPECT_EQ(moved[expected.size()], "after the move");
    EXPECT_EQ(WrittenBytes(moved), kv::ScenarioFileText(expected) + "after the move\r\n");
}

// A fragment that fails is taken back: the list ends at the item before it, and what is appended
// next follows that item, in the freed room or in new blocks.
TEST(ScriptItemList, TruncatedListEndsAtTheItemKeptAndGrowsFromThere) {
    struct Case {
        const char* what;
        std::size_t items;
        std::size_t kept;
    };
    const Case cases[] = {
        {"within one block", 100, 40},
        {"back across blocks", 30000, 3},
        {"to nothing", 500, 0},
        {"nothing taken", 10, 10},
        {"more than there are", 10, 50},
    };
    for (const Case& c : cases) {
        std::vector<std::string> expected;
        ScriptItemList items;
        std::vector<ScriptItemList::Position> before{items.End()};
        for (std::size_t i = 0; i < c.items; ++i) {
            expected.push_back(std::to_string(i) + std::string(i % 53, 'b'));
            items.push_back(expected.back());
            before.push_back(items.End());
        }
        items.TruncateTo(c.kept < before.size() ? before[c.kept]
                                                : ScriptItemList::Position{c.kept, 0});
        expected.resize(std::min(c.kept, c.items));
        for (std::size_t i = 0; i < 20000; ++i) {
            expected.push_back("again " + std::to_string(i));
            items.push_back(expected.back());
        }
        ASSERT_EQ(items.size(), expected.size()) << c.what;
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(items[i], expected[i]) << c.what << ", item " << i;
        EXPECT_EQ(WrittenBytes(items), kv::ScenarioFileText(expected)) << c.what;
    }
}

TEST(ScenarioFilePieces, JoinToTheFileTextAndStopWhenOneIsRefused) {
    const std::string longItem(300, 'x');
    const ScriptItemList items{"first", "", longItem, "a\r\nb", "last"};
    const std::string whole = kv::ScenarioFileText({"first", "", longItem, "a\r\nb", "last"});
    for (const std::size_t pieceSize : {1u, 7u, 100u, 1000u}) {
        std::string joined;
        std::size_t pieces = 0;
        EXPECT_TRUE(kv::ForEachScenarioFilePiece(items, pieceSize, [&](std::string_view piece) {
            joined += piece;
            ++pieces;
            return true;
        }));
        EXPECT_EQ(joined, whole) << "pieces of " << pieceSize;
        EXPECT_LE(pieces, items.size()) << "pieces of " << pieceSize;
    }
    std::size_t offered = 0;
    EXPECT_FALSE(kv::ForEachScenarioFilePiece(items, 1, [&](std::string_view) {
        ++offered;
        return offered < 2;
    }));
    EXPECT_EQ(offered, 2u);
    EXPECT_TRUE(kv::ForEachScenarioFilePiece({}, 10, [](std::string_view) { return false; }));
}

TEST(TrimModuleName, DropsControlCharactersAndSpacesAtBothEndsOnly) {
    struct Case {
        const char* what;
        std::wstring name;
        std::wstring trimmed;
    };
    const Case cases[] = {
        {"spaces and tab", L"  main\t", L"main"},
        {"control characters", L"\x01\r\nmain module \x1F", L"main module"},
        {"only blanks", L"   ", L""},
        {"empty", L"", L""},
        // Letters past ASCII (here А and a no-break space) are never blanks.
        {"letters past ASCII", L"\x0410\x00A0", L"\x0410\x00A0"},
        {"no-break spaces inside", L" \x00A0x\x00A0 ", L"\x00A0x\x00A0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kv::TrimModuleName(c.name), c.trimmed) << c.what;
}

TEST(LinkFragment, AddAndRemoveShareTheShape) {
    EXPECT_EQ(kv::LinkFragment("P", "C", false),
              (ScriptItems{"' " + kCreateLink + " P --> C",
                           "set cls = nothing\r\nset cls = mdl.zrGetClassVector.zrLocate(\"P\")\r\n"
                           "if not (cls is nothing) then",
                           "  cls.zrAddChildClass \"C\"", "end if", ""}));
    EXPECT_EQ(kv::LinkFragment("P", "C", true),
              (ScriptItems{"' " + kRemoveLink + " P --> C",
                           "set cls = nothing\r\nset cls = mdl.zrGetClassVector.zrLocate(\"P\")\r\n"
                           "if not (cls is nothing) then",
                           "  cls.zrRemoveChildClass \"C\"", "end if", ""}));
}

TEST(LinkFragment, EmptyNamesStillGiveTheFragment) {
    EXPECT_EQ(kv::LinkFragment("", "", false),
              (ScriptItems{"' " + kCreateLink + "  --> ",
                           "set cls = nothing\r\nset cls = mdl.zrGetClassVector.zrLocate(\"\")\r\n"
                           "if not (cls is nothing) then",
                           "  cls.zrAddChildClass \"\"", "end if", ""}));
}

TEST(LinkFragment, NamesCannotLeaveTheirLiteralOrComment) {
    const ScriptItems items = kv::LinkFragment("A\"B", "C\r\nD", false);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0], "' " + kCreateLink + " A\"B --> C\\r\\nD");
    EXPECT_EQ(items[1], "set cls = nothing\r\nset cls = mdl.zrGetClassVector.zrLocate(\"A\"\"B\")"
                        "\r\nif not (cls is nothing) then");
    EXPECT_EQ(items[2], "  cls.zrAddChildClass \"C\"&Chr(13)&Chr(10)&\"D\"");
}

TEST(ConstraintFragment, AddOrRemoveWithTheNamesInLiterals) {
    EXPECT_EQ(kv::ConstraintFragment("F", "K", false),
              (ScriptItems{"' " + kFilter + " F", "set flt = mdl.zrGetClassVector.zrFilterVector",
                           "  flt.zrAddConstraint \"F\",\"K\"", ""}));
    EXPECT_EQ(kv::ConstraintFragment("F\"", "%s\n", true),
              (ScriptItems{"' " + kFilter + " F\"", "set flt = mdl.zrGetClassVector.zrFilterVector",
                           "  flt.zrRemoveConstraint \"F\"\"\", \"%s\"&Chr(10)&\"\"", ""}));
}

} // namespace
