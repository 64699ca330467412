// The save path as the user meets it, driven under Xvfb: the Save File dialog (cancelled, then
// used) and the message shown while the target cannot be written (retried, or given up).
#include "../common/dialog_driver.h"
#include "golden.h"
#include "session_fixture.h"

#include <commdlg.h>
#include <shlobj.h>

namespace {

constexpr int kTrue = 1;
constexpr int kFalse = 0;

// Control identifiers of the common file dialog's file name box (explorer style, old style).
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;
constexpr int kFileTypeCombo = 0x470;

std::wstring DocumentsFolder() {
    PWSTR folder = nullptr;
    std::wstring path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &folder)))
        path = folder;
    CoTaskMemFree(folder);
    return path;
}

// Every text the dialog shows, one per line.
std::wstring DialogTexts(HWND dialog) {
    std::wstring texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        texts += WindowText(child) + L"\n";
    return texts;
}

std::wstring DialogMessage(HWND dialog, UINT message) {
    wchar_t text[4096] = {};
    SendMessageW(dialog, message, 4096, reinterpret_cast<LPARAM>(text));
    return text;
}

HWND FileNameBox(HWND dialog) {
    HWND box = GetDlgItem(dialog, kFileNameCombo);
    return box ? box : GetDlgItem(dialog, kFileNameEdit);
}

// What the file dialog showed when it opened.
struct SaveDialogView {
    HWND owner = nullptr;
    std::wstring folder;
    std::wstring fileName;
    std::wstring fileType;
};

SaveDialogView Look(HWND dialog) {
    SaveDialogView view;
    view.owner = GetWindow(dialog, GW_OWNER);
    view.folder = DialogMessage(dialog, CDM_GETFOLDERPATH);
    view.fileName = DialogMessage(dialog, CDM_GETSPEC);
    view.fileType = WindowText(GetDlgItem(dialog, kFileTypeCombo));
    return view;
}

// What the message dialog showed.
struct MessageView {
    std::wstring caption;
    std::wstring texts;
};

MessageView LookAtMessage(HWND dialog) {
    return {WindowText(dialog), DialogTexts(dialog)};
}

class SaveDialogTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        AddClass(L"Деталь");
        AddClass(L"Узел");
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

    SaveDialogView first;
    {
        DialogDriver driver([&](HWND dialog) {
            first = Look(dialog);
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
        DialogDriver driver([&](HWND dialog) {
            SetWindowTextW(FileNameBox(dialog), chosen.c_str());
            Click(GetDlgItem(dialog, IDOK));
        });
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
