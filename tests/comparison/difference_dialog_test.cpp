// scriptDifference as the user meets it, driven under Xvfb: the Open dialog (cancelled, or given
// a file that cannot be loaded, or the target structure), then scriptEnd's apply question.
#include "../common/dialog_driver.h"
#include "../recording_session/golden.h"
#include "../recording_session/session_fixture.h"
#include "difference_files.h"

#include <commdlg.h>
#include <oleauto.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>

namespace {

constexpr int kTrue = 1;
constexpr int kFalse = 0;

// Control identifiers of the common file dialog's file name box (explorer style, old style) and
// of its file type box.
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

std::wstring DialogMessage(HWND dialog, UINT message) {
    wchar_t text[4096] = {};
    SendMessageW(dialog, message, 4096, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring DialogTexts(HWND dialog) {
    std::wstring texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        texts += WindowText(child) + L"\n";
    return texts;
}

// What the Open dialog showed when it opened.
struct OpenDialogView {
    HWND owner = nullptr;
    std::wstring folder;
    std::wstring fileName;
    std::wstring fileType;
};

OpenDialogView Look(HWND dialog) {
    OpenDialogView view;
    view.owner = GetWindow(dialog, GW_OWNER);
    view.folder = DialogMessage(dialog, CDM_GETFOLDERPATH);
    view.fileName = DialogMessage(dialog, CDM_GETSPEC);
    view.fileType = WindowText(GetDlgItem(dialog, kFileTypeCombo));
    return view;
}

void Choose(HWND dialog, const std::wstring& path) {
    HWND box = GetDlgItem(dialog, kFileNameCombo);
    SetWindowTextW(box ? box : GetDlgItem(dialog, kFileNameEdit), path.c_str());
    Click(GetDlgItem(dialog, IDOK));
}

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
        BSTR path = SysAllocString(Widen(FixturePath("current.ztp")).c_str());
        ASSERT_EQ(model_->zrLoadModel(path, nullptr, 2), S_OK);
        SysFreeString(path);
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
    OpenDialogView view;
    EXPECT_EQ(DifferenceAnswering([&](HWND dialog) {
                  view = Look(dialog);
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
    EXPECT_EQ(DifferenceAnswering(
                  [](HWND dialog) { Choose(dialog, WindowsPath(FixturePath("malformed.ztp"))); }),
              kFalse);
    EXPECT_EQ(EndAndRead(), Golden("empty"));
}

TEST_F(DifferenceDialogTest, ChosenFileGivesTheDifferenceAndYesAppliesIt) {
    EXPECT_EQ(DifferenceAnswering(
                  [](HWND dialog) { Choose(dialog, WindowsPath(FixturePath("target.ztp"))); }),
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
