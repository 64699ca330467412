// The scenario editor as a user meets it: scriptExecute with no file name on the test's thread,
// a helper thread answering its dialogs and working its window with the mouse and keyboard,
// against the kernel stand-in and the real Script Control.
#include "../common/dialog_driver.h"
#include "../common/screenshot.h"
#include "editor_user.h"
#include "runner_fixture.h"

#include "common/com_owners.h"
#include "common/font_scale.h"
#include "common/handle_error.h"
#include "common/hint_window.h"
#include "common/text_conversion.h"
#include "standins/logserver/log_recorder.h"

#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <ostream>

using Microsoft::WRL::ComPtr;

namespace {

constexpr char kCreateAlphaAndBeta[] = "set classes = mdl.zrGetClassVector\r\n"
                                       "classes.zrAdd \"Alpha\"\r\n"
                                       "classes.zrAdd \"Beta\"\r\n";

std::string FileBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::wstring DocumentsFolder() {
    PWSTR folder = nullptr;
    std::wstring path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &folder)))
        path = folder;
    CoTaskMemFree(folder);
    return path;
}

// A file held open without sharing: nobody else can read or write it meanwhile.
class LockedFile {
public:
    explicit LockedFile(const std::wstring& path)
        : file_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    ~LockedFile() {
        if (file_ != INVALID_HANDLE_VALUE)
            CloseHandle(file_);
    }
    bool Held() const { return file_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE file_;
};

class EditorTest : public RunnerTest {
protected:
    void SetUp() override {
        RunnerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // What the library's start-up does for its windows.
        LoadFontScale();
        InstallHintWindowClass();
        AttachErrorHandler();
        if (SUCCEEDED(CoCreateInstance(CLSID_KvLogRecorder, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IKvLogRecorder, &recorder_)))
            recorder_->Clear();
    }
    void TearDown() override {
        DetachErrorHandler();
        recorder_.Reset();
        RunnerTest::TearDown();
    }

    // Opens the editor and, through the first open dialog, the file; then runs the script.
    bool EditFile(const std::wstring& path, const std::function<void(EditorUser&, HWND)>& script) {
        bool result = false;
        {
            UserThread user([&](EditorUser& user) {
                HWND open = user.WaitForFileDialog();
                if (!open)
                    return;
                ChooseFile(open, path);
                if (HWND editor = user.WaitForEditor())
                    script(user, editor);
            });
            result = Execute("");
        }
        return result;
    }

    std::wstring Scenario(const std::string& name, const std::string& text) {
        return Widen(WriteScenario(name, text));
    }

    std::wstring RecordedCalls() {
        Bstr calls;
        if (recorder_)
            recorder_->Calls(calls.Out());
        return std::wstring(calls.View());
    }

    ComPtr<IKvLogRecorder> recorder_;
};

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

struct CloseCase {
    const char* name;
    const wchar_t* answer;
    bool saved;
};

void PrintTo(const CloseCase& c, std::ostream* out) {
    *out << c.name;
}

class EditorCloseTest : public EditorTest, public testing::WithParamInterface<CloseCase> {};

// The close box with unsaved changes asks; Yes saves and closes, No closes, Cancel stays (the
// Cancel button then closes without asking).
TEST_P(EditorCloseTest, ClosingWithChangesAsks) {
    const std::wstring path = Scenario("close.vbs", "x = 1\r\n");
    std::wstring question;
    bool stayedOpen = false;
    bool disabledUnderQuestion = false;
    EditFile(path, [&](EditorUser& user, HWND editor) {
        TypeAtEnd(editor, L"y = 2");
        PressCloseBox(editor);
        HWND ask = user.WaitForMessage();
        question = MessageText(ask);
        disabledUnderQuestion = !IsWindowEnabled(editor);
        Answer(ask, GetParam().answer);
        if (std::wstring_view(GetParam().answer) == L"Отмена") {
            stayedOpen = user.WaitForEditor() != nullptr;
            ClickCancel(editor);
        }
    });
    EXPECT_EQ(question, L"Файл close.vbs был отредактирован\r\nСохранить изменения?");
    EXPECT_EQ(FileBytes(path), GetParam().saved ? "x = 1\r\ny = 2\r\n" : "x = 1\r\n");
    EXPECT_EQ(stayedOpen, std::wstring_view(GetParam().answer) == L"Отмена");
    EXPECT_TRUE(disabledUnderQuestion) << "the question is modal to the editor too";
}

INSTANTIATE_TEST_SUITE_P(Answers, EditorCloseTest,
                         testing::Values(CloseCase{"Yes", L"Да", true},
                                         CloseCase{"No", L"Нет", false},
                                         CloseCase{"Cancel", L"Отмена", false}));

// "Сохранить как ..." cancelled leaves the form without a file name: "Сохранить" asks again.
TEST_F(EditorTest, SaveAsThenCancelLeavesNoFileName) {
    const std::wstring path = Scenario("saveas.vbs", "x = 1\r\n");
    std::wstring folder, fileName;
    bool askedAgain = false;
    EditFile(path, [&](EditorUser& user, HWND editor) {
        ClickToolButton(editor, 2);
        HWND save = user.WaitForFileDialog();
        folder = ProposedFolder(save);
        fileName = ProposedFileName(save);
        CancelDialog(save);
        user.WaitForEditor();
        ClickToolButton(editor, 1);
        HWND again = user.WaitForFileDialog();
        askedAgain = again != nullptr;
        CancelDialog(again);
        user.WaitForEditor();
        ClickCancel(editor);
    });
    EXPECT_EQ(folder, DocumentsFolder());
    EXPECT_EQ(fileName, L"scenery.vbs");
    EXPECT_TRUE(askedAgain);
    EXPECT_EQ(FileBytes(path), "x = 1\r\n");
}

struct NamelessCase {
    const char* name;
    bool chooseFile; // in the save dialog that Yes brings
};

void PrintTo(const NamelessCase& c, std::ostream* out) {
    *out << c.name;
}

class EditorNamelessTest : public EditorTest, public testing::WithParamInterface<NamelessCase> {};

// Yes for a text without a file (its Save As was cancelled) asks for the file instead of
// failing to write to no name; cancelling that keeps the editor and the text.
TEST_P(EditorNamelessTest, YesWithoutAFileNameAsksForOne) {
    const std::wstring path = Scenario("nameless.vbs", "x = 1\r\n");
    const std::wstring target = folder_ + L"chosen.vbs";
    bool stayedOpen = false;
    EditFile(path, [&](EditorUser& user, HWND editor) {
        ClickToolButton(editor, 2);
        CancelDialog(user.WaitForFileDialog());
        user.WaitForEditor();
        TypeAtEnd(editor, L"y = 2");
        PressCloseBox(editor);
        Answer(user.WaitForMessage(), L"Да");
        HWND save = user.WaitForFileDialog();
        if (GetParam().chooseFile) {
            ChooseFile(save, target);
            return;
        }
        CancelDialog(save);
        stayedOpen = user.WaitForEditor() != nullptr;
        ClickCancel(editor);
    });
    if (GetParam().chooseFile) {
        EXPECT_EQ(FileBytes(target), "x = 1\r\ny = 2\r\n");
        DeleteFileW(target.c_str());
    } else {
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(GetFileAttributesW(target.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_EQ(FileBytes(path), "x = 1\r\n");
}

INSTANTIATE_TEST_SUITE_P(Choices, EditorNamelessTest,
                         testing::Values(NamelessCase{"FileChosen", true},
                                         NamelessCase{"DialogCancelled", false}));

// A file that cannot be read is reported and changes nothing: the text and its file stay, so
// a later save writes the file the text came from, never the unread one.
TEST_F(EditorTest, AFileThatCannotBeReadChangesNothing) {
    const std::wstring first = Scenario("first.vbs", "x = 1\r\n");
    const std::wstring locked = Scenario("locked.vbs", "locked = 1\r\n");
    std::wstring caption, text;
    bool disabledUnderError = false;
    EditFile(first, [&](EditorUser& user, HWND editor) {
        {
            LockedFile hold(locked);
            ClickToolButton(editor, 0);
            ChooseFile(user.WaitForFileDialog(), locked);
            HWND error = user.WaitForMessage();
            disabledUnderError = !IsWindowEnabled(editor);
            PressCloseBox(error); // read and dismissed
            user.WaitForEditor();
        }
        caption = WindowText(editor);
        text = EditorText(editor);
        TypeAtEnd(editor, L"y = 2");
        ClickToolButton(editor, 1);
        user.WaitUntil([&] { return FileBytes(first) == "x = 1\r\ny = 2\r\n"; }, "the save");
        user.WaitForEditor();
        ClickCancel(editor);
    });
    EXPECT_EQ(caption, L"Сценарий first.vbs");
    EXPECT_TRUE(disabledUnderError) << "the error message is modal to the editor too";
    EXPECT_EQ(text, L"x = 1\r\n");
    EXPECT_EQ(FileBytes(locked), "locked = 1\r\n");
}

// A save that cannot write says so; the text stays unsaved, so closing still asks.
TEST_F(EditorTest, AFailedSaveSaysSoAndKeepsTheChanges) {
    const std::wstring path = Scenario("held.vbs", "x = 1\r\n");
    std::wstring message;
    bool askedOnClose = false;
    EditFile(path, [&](EditorUser& user, HWND editor) {
        TypeAtEnd(editor, L"y = 2");
        {
            LockedFile hold(path);
            ClickToolButton(editor, 1);
            HWND failed = user.WaitForMessage();
            message = MessageText(failed);
            Answer(failed, L"OK");
            user.WaitForEditor();
        }
        PressCloseBox(editor);
        HWND ask = user.WaitForMessage();
        askedOnClose = ask != nullptr;
        Answer(ask, L"Нет");
    });
    EXPECT_EQ(message, L"Ошибка создания файла.\r\nПроверьте наличие прав");
    EXPECT_TRUE(askedOnClose);
    EXPECT_EQ(FileBytes(path), "x = 1\r\n");
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
