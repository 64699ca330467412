// The scenario editor as a user meets it: opening, running (a failure shown at its line, then a
// fixed run), keys in the text, help and hints. The editor runs on the test's thread while a
// helper thread works it with the mouse and keyboard.
#include "support/dialog_driver.h"
#include "support/screenshot.h"
#include "editor_fixture.h"

#include "common/hint_window.h"

using namespace kv;

namespace {

// No file name (null or empty) opens the editor, which starts with the open dialog; cancelled,
// the editor closes and the caller's flag is as it was.
TEST_F(EditorTest, CancellingTheFirstOpenDialogClosesTheEditor) {
    for (const char* noFile : {static_cast<const char*>(nullptr), ""}) {
        for (const bool before : {true, false}) {
            SetModified(before);
            std::wstring fileName, filter;
            bool result = true;
            {
                UserThread user([&](EditorUser& user) {
                    HWND open = user.WaitForFileDialog();
                    fileName = ProposedFileName(open);
                    filter = SelectedFilter(open);
                    CancelDialog(open);
                });
                result = Execute(noFile);
            }
            EXPECT_FALSE(result);
            EXPECT_EQ(Modified(), before) << "the caller's flag comes back";
            EXPECT_EQ(fileName, L"scenery.vbs");
            EXPECT_EQ(filter, L"Сценарий VBScript (*.vbs)");
        }
    }
}

TEST_F(EditorTest, OpeningAnEmptyFileClosesTheEditor) {
    const std::wstring empty = Scenario("empty.vbs", "");
    bool result = true;
    {
        UserThread user([&](EditorUser& user) { ChooseFile(user.WaitForFileDialog(), empty); });
        result = Execute("");
    }
    EXPECT_FALSE(result);
}

// The user opens a file, makes its third line wrong and runs it: the error line names the
// scenario's line 3 and the caret stands at the error. Fixed, the scenario runs and the editor
// closes, asking about the unsaved text first.
TEST_F(EditorTest, FailedRunShowsTheErrorAtItsLineAndAFixedRunCloses) {
    const std::wstring path = Scenario("run.vbs", kCreateAlphaAndBeta);
    std::wstring errorLine, caption;
    Caret caret{};
    std::wstring question;
    const bool changed = EditFile(path, [&](EditorUser& user, HWND editor) {
        caption = WindowText(editor);
        ReplaceText(editor, L"set classes = mdl.zrGetClassVector\r\n"
                            L"classes.zrAdd \"Alpha\"\r\n"
                            L"classes.zrAdd \"Beta\" \"Gamma\"\r\n");
        ClickRun(editor);
        user.WaitUntil([&] { return !ErrorLine(editor).empty(); }, "the error line");
        user.WaitForEditor();
        errorLine = ErrorLine(editor);
        caret = CaretOf(editor);
        Sleep(200); // lets the window paint for the picture
        SaveWindowScreenshot(editor, L"scenario_editor_failed_run.bmp"); // for review
        ReplaceText(editor, Widen(kCreateAlphaAndBeta));
        ClickRun(editor);
        HWND ask = user.WaitForMessage();
        question = MessageText(ask);
        Answer(ask, L"Нет");
    });
    EXPECT_EQ(caption, L"Сценарий run.vbs");
    ASSERT_TRUE(errorLine.starts_with(L"3:")) << Narrow(errorLine);
    const std::size_t dash = errorLine.find(L" - ");
    ASSERT_NE(dash, std::wstring::npos) << Narrow(errorLine);
    EXPECT_GT(errorLine.size(), dash + 3) << "a description follows";
    EXPECT_EQ(caret.line, 3);
    EXPECT_EQ(std::to_wstring(caret.column), errorLine.substr(2, dash - 2));
    EXPECT_EQ(question, L"Файл run.vbs был отредактирован\r\nСохранить изменения?");
    EXPECT_TRUE(changed);
    EXPECT_TRUE(HasClass(L"Alpha"));
    EXPECT_TRUE(HasClass(L"Beta"));
    EXPECT_EQ(FileBytes(path), kCreateAlphaAndBeta) << "No keeps the file as it was";
}

// Enter, Tab and Escape in the text belong to the text: Enter makes a line instead of pressing
// the default button, Tab stays in the text, Escape closes nothing.
TEST_F(EditorTest, EnterTabAndEscapeInTheTextStayInTheText) {
    const std::wstring path = Scenario("enter.vbs", kCreateAlphaAndBeta);
    std::wstring text;
    const bool changed = EditFile(path, [&](EditorUser& user, HWND editor) {
        TypeAtEnd(editor, L""); // the caret after the last line
        // One key at a time, as typed: Tab arrives as a character, Enter as a key.
        PressKey(editor, VK_ESCAPE);
        PressKey(editor, VK_TAB);
        user.WaitUntil([&] { return EditorText(editor).ends_with(L"\t"); }, "a tab in the text");
        PressKey(editor, VK_RETURN);
        user.WaitUntil([&] { return EditorText(editor).ends_with(L"\t\r\n"); },
                       "a new line in the text");
        text = EditorText(editor);
        ClickCancel(editor);
    });
    EXPECT_FALSE(changed) << "the scenario never ran";
    EXPECT_FALSE(HasClass(L"Alpha"));
    EXPECT_EQ(Narrow(text), std::string(kCreateAlphaAndBeta) + "\t\r\n");
}

// F1 asks the directory component for the editor's help topic; without the help file nothing
// shows and nothing is reported.
TEST_F(EditorTest, F1AsksTheDirectoryComponentForHelpAndShowsNoError) {
    if (!recorder_)
        GTEST_SKIP() << "kvstandins.dll is not registered";
    const std::wstring path = Scenario("help.vbs", "x = 1\r\n");
    EditFile(path, [&](EditorUser& user, HWND editor) {
        PressKey(editor, VK_F1);
        ClickCancel(editor); // handled after the key: both wait in the same queue
    });
    const std::wstring calls = RecordedCalls();
    EXPECT_NE(calls.find(L"\\Doc\\GuideAdmin.chm|1040\n"), std::wstring::npos) << Narrow(calls);
    EXPECT_TRUE(calls.starts_with(L"ShowHelp|")) << Narrow(calls);
    EXPECT_EQ(calls.find(L"LogError"), std::wstring::npos) << Narrow(calls);
}

// The pointer resting on a tool button shows its hint in the library's hint window.
TEST_F(EditorTest, ToolButtonsShowTheirHintsInTheLibrarysHintWindow) {
    const std::wstring path = Scenario("hint.vbs", "x = 1\r\n");
    std::wstring hint;
    EditFile(path, [&](EditorUser& user, HWND editor) {
        const POINT button = ToolButtonCentre(editor, 0);
        SetCursorPos(button.x, button.y);
        HWND shown = nullptr;
        user.WaitUntil(
            [&] { return (shown = user.FindWindowOfClass(HintWindowClassName)) != nullptr; },
            "the hint");
        if (shown) {
            hint = WindowText(shown);
            Sleep(200); // lets the hint paint for the picture
            SaveWindowScreenshot(shown, L"scenario_editor_hint.bmp"); // for review
        }
        SetCursorPos(0, 0);
        ClickCancel(editor);
    });
    EXPECT_EQ(hint, L"Открыть ...");
}

} // namespace
