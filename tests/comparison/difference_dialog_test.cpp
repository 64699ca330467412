// scriptDifference as the user meets it, driven under Xvfb: the Open dialog (cancelled, or given
// a file that cannot be loaded, or the target structure), then scriptEnd's apply question.
#include "support/dialog_driver.h"
#include "support/file_dialog_driver.h"
#include "recording/golden.h"
#include "recording/session_fixture.h"
#include "difference_files.h"

#include <oleauto.h>

#include <algorithm>
#include <functional>

namespace {

constexpr int kTrue = 1;
constexpr int kFalse = 0;

std::wstring WindowsPath(const std::string& path) {
    std::wstring wide = Widen(path);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

std::wstring TemporaryScenario() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    return std::wstring(temp) + L"temp_vbs.vbs";
}

class DifferenceDialogTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        LoadStructure(model_.Get(), FixturePath("current.ztp"));
        ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    }

    // scriptDifference with the dialog answered by `answer`.
    int DifferenceAnswering(std::function<void(HWND)> answer) {
        DialogDriver driver(std::move(answer));
        return library_->Difference(model_.Get(), owner_);
    }

    // What the recording holds, saved without the apply question.
    std::string EndAndRead() {
        const std::string path = OutputPath("difference.vbs");
        EXPECT_EQ(library_->End(owner_, path.c_str(), nullptr), kTrue);
        return ReadOutput(path);
    }

    bool HasClass(const wchar_t* name) { return FindClass(name) != nullptr; }
};

TEST_F(DifferenceDialogTest, CancelReturnsFalseAndWritesNothing) {
    FileDialogView view;
    EXPECT_EQ(DifferenceAnswering([&](HWND dialog) {
                  view = LookAtFileDialog(dialog);
                  Click(GetDlgItem(dialog, IDCANCEL));
              }),
              kFalse);
    EXPECT_EQ(view.owner, owner_);
    EXPECT_EQ(view.folder, DocumentsFolder());
    EXPECT_EQ(view.fileName, L"Structure.ztp");
    EXPECT_EQ(view.fileType, L"Технологический процесс (*.ztp)");
    EXPECT_EQ(EndAndRead(), Golden("empty"));
}

TEST_F(DifferenceDialogTest, MalformedFileReturnsFalseAndWritesNothing) {
    EXPECT_EQ(DifferenceAnswering([](HWND dialog) {
                  ChooseFile(dialog, WindowsPath(FixturePath("malformed.ztp")));
              }),
              kFalse);
    EXPECT_EQ(EndAndRead(), Golden("empty"));
}

TEST_F(DifferenceDialogTest, ChosenFileGivesTheDifferenceAndYesAppliesIt) {
    EXPECT_EQ(DifferenceAnswering(
                  [](HWND dialog) { ChooseFile(dialog, WindowsPath(FixturePath("target.ztp"))); }),
              kTrue)
        << Narrow(TakeErrorDescription());

    std::wstring question;
    int ended = -1;
    {
        DialogDriver driver([&](HWND dialog) {
            question = DialogTexts(dialog);
            Click(FindButton(dialog, L"Да"));
        });
        ended = library_->End(owner_, "", model_.Get());
    }
    EXPECT_EQ(ended, kTrue);
    EXPECT_NE(question.find(L"Применить изменения к текущей структуре?"), std::wstring::npos);
    EXPECT_TRUE(HasClass(L"Tool"));
    EXPECT_FALSE(HasClass(L"Legacy"));
    EXPECT_TRUE(HasLink(L"Part", L"Tool"));
    EXPECT_FALSE(HasLink(L"Part", L"Operation"));
    EXPECT_FALSE(FileExists(TemporaryScenario()));
}

} // namespace
