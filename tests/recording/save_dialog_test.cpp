// The save path as the user meets it, driven under Xvfb: the Save File dialog (cancelled, then
// used) and the message shown while the target cannot be written (retried, or given up).
#include "support/dialog_driver.h"
#include "support/file_dialog_driver.h"
#include "golden.h"
#include "session_fixture.h"

namespace {

constexpr int kTrue = 1;
constexpr int kFalse = 0;

// What the message dialog showed.
struct MessageView {
    std::wstring caption;
    std::wstring texts;
};

MessageView LookAtMessage(HWND dialog) {
    return {WindowText(dialog), DialogTexts(dialog)};
}

class SaveDialogTest : public PartAndUnitSessionTest {
protected:
    void SetUp() override {
        PartAndUnitSessionTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        part_ = Narrow(L"Деталь");
        unit_ = Narrow(L"Узел");
    }

    // Holds the file open without sharing: nobody can write it, not even root.
    HANDLE Lock(const std::string& path) {
        HANDLE file =
            CreateFileW(Widen(path).c_str(), GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        return file;
    }

    void ExpectFailedWriteMessage(const MessageView& view) {
        EXPECT_EQ(view.caption, L"Информация");
        EXPECT_NE(view.texts.find(L"Ошибка создания файла.\r\nПроверьте наличие прав"),
                  std::wstring::npos)
            << Narrow(view.texts);
    }

    std::string part_;
    std::string unit_;
};

TEST_F(SaveDialogTest, CancelKeepsTheRecordingOpenAndTheNextSaveHasTheFooterTwice) {
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);

    FileDialogView first;
    {
        DialogDriver driver([&](HWND dialog) {
            first = LookAtFileDialog(dialog);
            Click(GetDlgItem(dialog, IDCANCEL));
        });
        // A null file name counts as empty: the dialog asks.
        EXPECT_EQ(library_->End(owner_, nullptr, model_.Get()), kFalse);
    }
    EXPECT_EQ(first.owner, owner_);
    EXPECT_EQ(first.folder, DocumentsFolder());
    EXPECT_EQ(first.fileName, L"scenery.vbs");
    EXPECT_EQ(first.fileType, L"Сценарий VBScript (*.vbs)");

    EXPECT_EQ(library_->ClassLink(part_.c_str(), unit_.c_str(), 0), kTrue);

    const std::wstring chosen = folder_ + L"chosen.vbs";
    {
        DialogDriver driver([&](HWND dialog) { ChooseFile(dialog, chosen); });
        EXPECT_EQ(library_->End(owner_, "", model_.Get()), kTrue);
    }
    EXPECT_EQ(ReadOutput(Narrow(chosen)),
              HeaderPart() + FooterPart() + Golden("link_added") + FooterPart());
}

TEST_F(SaveDialogTest, UnwritableTargetGivesTheMessageThenSucceedsOnceWritable) {
    const std::string path = OutputPath("locked.vbs");
    HANDLE lock = Lock(path);
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);

    MessageView message;
    {
        DialogDriver driver([&](HWND dialog) {
            message = LookAtMessage(dialog);
            CloseHandle(lock);
            Click(FindButton(dialog, L"OK"));
        });
        EXPECT_EQ(library_->End(owner_, path.c_str(), model_.Get()), kTrue);
    }
    ExpectFailedWriteMessage(message);
    EXPECT_EQ(ReadOutput(path), Golden("empty"));
}

TEST_F(SaveDialogTest, GivingUpReturnsFalseWithTheRecordingOpen) {
    const std::string path = OutputPath("locked.vbs");
    HANDLE lock = Lock(path);
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);

    MessageView message;
    {
        DialogDriver driver([&](HWND dialog) {
            message = LookAtMessage(dialog);
            Click(FindButton(dialog, L"Отмена"));
        });
        EXPECT_EQ(library_->End(owner_, path.c_str(), model_.Get()), kFalse);
    }
    ExpectFailedWriteMessage(message);
    CloseHandle(lock);

    EXPECT_EQ(library_->ClassLink(part_.c_str(), unit_.c_str(), 0), kTrue);
    EXPECT_EQ(library_->End(owner_, path.c_str(), model_.Get()), kTrue);
    EXPECT_EQ(ReadOutput(path), HeaderPart() + FooterPart() + Golden("link_added") + FooterPart());
}

} // namespace
