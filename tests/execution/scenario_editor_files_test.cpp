// The scenario editor's files as a user meets them: the question before changes are lost,
// "Сохранить как ..." cancelled, a text without a file, a file that cannot be read and a save
// that cannot write.
#include "support/dialog_driver.h"
#include "editor_fixture.h"

#include <ostream>

namespace {

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

} // namespace
