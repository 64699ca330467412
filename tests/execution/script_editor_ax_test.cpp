// TScriptEditorAX on the platform's rich-edit control: the text comes back exactly as it was
// given, words are coloured from the word lists (when set and when typed), typing stays
// undoable, and the caret moves to a line and a column.
#include "execution/script_editor_ax.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <string>

namespace {

using kv::execution::TokenColour;
using kv::execution::TokenKind;
using kv::execution::TScriptEditorAX;

class EditorControlTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        parent_ = CreateWindowExW(0, L"STATIC", L"editor parent", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                                  300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
        editor_ = std::make_unique<TScriptEditorAX>(parent_);
        editor_->OnChange = [this] { ++changes_; };
    }
    void TearDown() override {
        editor_.reset();
        DestroyWindow(parent_);
        for (const std::wstring& file : files_)
            DeleteFileW(file.c_str());
        CoUninitialize();
    }

    // The colour of the character at `position` of the text (CR LF counted as one).
    COLORREF ColourAt(LONG position) {
        CHARRANGE range{position, position + 1};
        SendMessageW(editor_->EditWindow(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        SendMessageW(editor_->EditWindow(), EM_GETCHARFORMAT, SCF_SELECTION,
                     reinterpret_cast<LPARAM>(&format));
        return format.crTextColor;
    }

    // Types over the selection as a user does (undoable, raising the change event).
    void Type(LONG start, LONG end, const wchar_t* text) {
        CHARRANGE range{start, end};
        SendMessageW(editor_->EditWindow(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        SendMessageW(editor_->EditWindow(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    }

    std::wstring WriteFixture(const wchar_t* name, const std::string& text) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        const std::wstring path = std::wstring(temp) + name;
        std::ofstream(path.c_str(), std::ios::binary) << text;
        files_.push_back(path);
        return path;
    }

    HWND parent_ = nullptr;
    std::unique_ptr<TScriptEditorAX> editor_;
    int changes_ = 0;
    std::vector<std::wstring> files_;
};

struct RoundTrip {
    const char* name;
    std::wstring given;
    std::wstring read;
};

void PrintTo(const RoundTrip& trip, std::ostream* out) {
    *out << trip.name;
}

class EditorTextTest : public EditorControlTest, public testing::WithParamInterface<RoundTrip> {};

// The text travels to the control as a coloured rich-text stream: nothing may be lost or added
// on the way, with the highlighter on and off.
TEST_P(EditorTextTest, ComesBackAsItWasGiven) {
    ASSERT_TRUE(editor_->LoadWordList(L"VBScriptOper.xml"));
    for (const int highlighter : {0, 1}) {
        editor_->SetUseHighlighter(highlighter);
        editor_->SetText(GetParam().given);
        EXPECT_EQ(editor_->Text(), GetParam().read) << "highlighter " << highlighter;
    }
    EXPECT_EQ(changes_, 0) << "setting the text is not an edit";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EditorTextTest,
    testing::Values(RoundTrip{"Empty", L"", L""}, RoundTrip{"OneLine", L"dim a", L"dim a"},
                    RoundTrip{"FinalLineBreak", L"dim a\r\n", L"dim a\r\n"},
                    RoundTrip{"OnlyALineBreak", L"\r\n", L"\r\n"},
                    RoundTrip{"EmptyLinesKept", L"\r\n\r\nx = 1\r\n\r\n", L"\r\n\r\nx = 1\r\n\r\n"},
                    RoundTrip{"LoneBreaksBecomeCrLf", L"a\nb\rc", L"a\r\nb\r\nc"},
                    RoundTrip{"RtfSpecialCharacters", L"s = \"\\{x}\\par\" ' {\\rtf1}",
                              L"s = \"\\{x}\\par\" ' {\\rtf1}"},
                    RoundTrip{"TabsAndTrailingBlanks", L"\tif x then  \r\n\t\ty = 1 \t",
                              L"\tif x then  \r\n\t\ty = 1 \t"},
                    RoundTrip{"Cyrillic", L"classes.zrAdd \"Деталь №1\" ' ёЁ",
                              L"classes.zrAdd \"Деталь №1\" ' ёЁ"},
                    RoundTrip{"LongLine", std::wstring(5000, L'x'), std::wstring(5000, L'x')}));

TEST_F(EditorControlTest, ColoursWordsOfTheListsAndTheGlobalObjects) {
    ASSERT_TRUE(editor_->LoadWordList(L"VBScriptOper.xml"));
    ASSERT_TRUE(editor_->LoadWordList(L"VBScriptFunc.xml"));
    ASSERT_TRUE(editor_->AddGlobalObject(L"mdl", L"", 0, L"IZModel", 0));
    //                   0123456789012345678901234567890123
    editor_->SetText(L"Dim n : n = Len(mdl.zrModelName) ' x");
    EXPECT_EQ(ColourAt(0), TokenColour(TokenKind::Keyword));   // Dim
    EXPECT_EQ(ColourAt(4), TokenColour(TokenKind::Plain));     // n
    EXPECT_EQ(ColourAt(12), TokenColour(TokenKind::Function)); // Len
    EXPECT_EQ(ColourAt(16), TokenColour(TokenKind::Object));   // mdl
    EXPECT_EQ(ColourAt(20), TokenColour(TokenKind::Plain));    // not described yet
    EXPECT_EQ(ColourAt(35), TokenColour(TokenKind::Comment));
}

TEST_F(EditorControlTest, TypingColoursTheChangedLinesAndStaysUndoable) {
    ASSERT_TRUE(editor_->LoadWordList(L"VBScriptOper.xml"));
    editor_->SetText(L"x = 1\r\ny = 2\r\nz = 3");
    Type(6, 6, L"dim q\r\n' note\r\n"); // at the start of the second line
    EXPECT_EQ(editor_->Text(), L"x = 1\r\ndim q\r\n' note\r\ny = 2\r\nz = 3");
    EXPECT_EQ(ColourAt(6), TokenColour(TokenKind::Keyword));
    EXPECT_EQ(ColourAt(12), TokenColour(TokenKind::Comment));
    EXPECT_EQ(ColourAt(19), TokenColour(TokenKind::Plain)); // "y" keeps its own colour
    EXPECT_GE(changes_, 1);
    // Recolouring is not an edit of its own: one undo takes the typing back.
    SendMessageW(editor_->EditWindow(), EM_UNDO, 0, 0);
    EXPECT_EQ(editor_->Text(), L"x = 1\r\ny = 2\r\nz = 3");
}

// Text typed over a selection comes in one format; lines that read as before are coloured again
// when the selection covered them.
TEST_F(EditorControlTest, TextPastedOverTheSameTextIsColouredAgain) {
    ASSERT_TRUE(editor_->LoadWordList(L"VBScriptOper.xml"));
    editor_->SetText(L"dim a ' first\r\ndim b");
    Type(0, -1, L"dim a ' first\r\ndim c"); // all selected, the same first line pasted
    EXPECT_EQ(ColourAt(0), TokenColour(TokenKind::Keyword));
    EXPECT_EQ(ColourAt(4), TokenColour(TokenKind::Plain));
    EXPECT_EQ(ColourAt(6), TokenColour(TokenKind::Comment));
    EXPECT_EQ(ColourAt(14), TokenColour(TokenKind::Keyword));
    EXPECT_EQ(ColourAt(18), TokenColour(TokenKind::Plain));
}

TEST_F(EditorControlTest, GoesToLinesAndColumnsWithinTheText) {
    editor_->SetText(L"first\r\nsecond line\r\nthird");
    struct Move {
        int line, column, caretLine, caretColumn;
    };
    for (const Move move : {Move{3, 2, 3, 2}, Move{2, 100, 2, 11}, Move{0, 0, 1, 0},
                            Move{99, 1, 3, 1}, Move{1, -5, 1, 0}}) {
        editor_->GotoLine(move.line);
        editor_->SetCaretX(move.column);
        EXPECT_EQ(editor_->CaretY(), move.caretLine) << move.line << ":" << move.column;
        EXPECT_EQ(editor_->CaretX(), move.caretColumn) << move.line << ":" << move.column;
    }
}

TEST_F(EditorControlTest, MemberNamesComeFromTheObjectDescription) {
    const std::wstring description = WriteFixture(
        L"kv_editor_members.spc", "<objectspec><object type=\"IZModel\">"
                                  "<member>zrModelName</member></object></objectspec>");
    ASSERT_TRUE(editor_->LoadObjectSpec(description));
    editor_->SetText(L"n = mdl.zrModelName + zrModelName");
    EXPECT_EQ(ColourAt(8), TokenColour(TokenKind::Member));
    EXPECT_EQ(ColourAt(22), TokenColour(TokenKind::Plain)) << "a member only after a dot";
}

// Word files that are missing or of another kind change nothing and are not an error.
TEST_F(EditorControlTest, RefusesFilesThatAreNotItsOwn) {
    const std::wstring notXml = WriteFixture(L"kv_editor_words.txt", "Dim\r\nSet\r\n");
    const std::wstring otherRoot =
        WriteFixture(L"kv_editor_other.xml", "<words><word>Dim</word></words>");
    EXPECT_FALSE(editor_->LoadWordList(L"kv_no_such_list.xml"));
    EXPECT_FALSE(editor_->LoadWordList(notXml));
    EXPECT_FALSE(editor_->LoadWordList(otherRoot));
    EXPECT_FALSE(editor_->LoadObjectSpec(otherRoot));
    EXPECT_FALSE(editor_->LoadObjectSpec(L"C:\\kv\\no\\such\\zkernel.spc"));
    editor_->SetText(L"Dim a");
    EXPECT_EQ(ColourAt(0), TokenColour(TokenKind::Plain));
}

} // namespace
