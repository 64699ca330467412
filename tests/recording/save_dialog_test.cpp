// The save path as the user meets it, driven under Xvfb: the Save File dialog (cancelled, then
// used) and the message shown while the target cannot be written (retried, or given up).
#include "support/dialog_driver.h"
#include "support/file_dialog_driver.h"
#include "golden.h"
#include "session_fixture.h"
#include "support/temporary_folder_override.h"

#include <optional>
#include <string>

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

// Each case with the recording kept in memory and spilled to a temporary file (in a temporary
// folder of the test's own) from its first item: a save that fails or is cancelled keeps the
// spill file, and the next save writes the whole scenario from it.
class SaveDialogTest : public PartAndUnitSessionTest,
                       public testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        PartAndUnitSessionTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        part_ = Narrow(L"Деталь");
        unit_ = Narrow(L"Узел");
        temporary_ = folder_ + L"temp\\";
        ASSERT_TRUE(CreateDirectoryW(temporary_.c_str(), nullptr));
        temporaryOverride_.emplace(temporary_);
        threshold_.emplace(GetParam());
    }
    void TearDown() override {
        PartAndUnitSessionTest::TearDown();
        threshold_.reset();
        temporaryOverride_.reset();
    }

    // A recording left open keeps its spill file when it spilled.
    void ExpectSpillFileKept() { EXPECT_EQ(SpillFiles(temporary_).size(), GetParam() ? 1u : 0u); }

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
    std::wstring temporary_;
    std::optional<TemporaryFolderOverride> temporaryOverride_;
    std::optional<SpillThresholdSetting> threshold_;
};

INSTANTIATE_TEST_SUITE_P(InMemoryAndSpilled, SaveDialogTest, testing::Values(nullptr, "1"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param ? "Spilled" : "InMemory");
                         });

TEST_P(SaveDialogTest, CancelKeepsTheRecordingOpenAndTheNextSaveHasTheFooterTwice) {
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
    ExpectSpillFileKept();

    EXPECT_EQ(library_->ClassLink(part_.c_str(), unit_.c_str(), 0), kTrue);

    const std::wstring chosen = folder_ + L"chosen.vbs";
    {
        DialogDriver driver([&](HWND dialog) { ChooseFile(dialog, chosen); });
        EXPECT_EQ(library_->End(owner_, "", model_.Get()), kTrue);
    }
    EXPECT_EQ(ReadOutput(Narrow(chosen)),
              HeaderPart() + FooterPart() + Golden("link_added") + FooterPart());
}

TEST_P(SaveDialogTest, UnwritableTargetGivesTheMessageThenSucceedsOnceWritable) {
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

TEST_P(SaveDialogTest, GivingUpReturnsFalseWithTheRecordingOpen) {
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
    ExpectSpillFileKept();
    CloseHandle(lock);

    EXPECT_EQ(library_->ClassLink(part_.c_str(), unit_.c_str(), 0), kTrue);
    EXPECT_EQ(library_->End(owner_, path.c_str(), model_.Get()), kTrue);
    EXPECT_EQ(ReadOutput(path), HeaderPart() + FooterPart() + Golden("link_added") + FooterPart());
}

} // namespace
