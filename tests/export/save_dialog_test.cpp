// SaveAsHTML (ordinal 16) with its save dialog, driven as a user drives it: the proposed file
// name, folder and filter, cancelling, and saving under a name typed into the dialog.
#include "support/dialog_driver.h"
#include "support/file_dialog_driver.h"
#include "kernel_model.h"
#include "support/files.h"
#include "support/golden.h"
#include "support/host_setting.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using Microsoft::WRL::ComPtr;
using namespace export_test;
using kvtest::FileBytes;
using kvtest::FileExists;

namespace {

// What the dialog proposed when it appeared.
struct Proposal {
    std::wstring folder;
    std::wstring file_name;
    std::wstring filter;
};

class SaveDialog : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_TRUE(library_.Loaded()) << "korvalith.dll not loaded";
        model_ = BuildModel(EmptyStructure());
        ASSERT_TRUE(model_) << "the kernel stand-in zkernel.ZModel is not registered";
        owner_ = kvtest::CreateOwnerWindow(L"host", 100, 100);
    }
    void TearDown() override {
        if (owner_)
            DestroyWindow(owner_);
        model_.Reset();
        CoUninitialize();
    }

    KorvalithLibrary library_;
    ComPtr<IZModel> model_;
    HWND owner_ = nullptr;
};

TEST_F(SaveDialog, ProposesStructureHtmInDocumentsAndCancelWritesNothing) {
    const std::wstring proposed_path = DocumentsFolder() + L"\\Structure.htm";
    ASSERT_FALSE(FileExists(proposed_path)) << "left over from an earlier run";
    Proposal proposal;
    unsigned char result = 1;
    {
        DialogDriver driver([&](HWND dialog) {
            proposal = {ProposedFolder(dialog), ProposedFileName(dialog), SelectedFilter(dialog)};
            CancelDialog(dialog);
        });
        result = library_.SaveAsHTML()(model_.GetAddressOf(), owner_);
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(proposal.folder, DocumentsFolder());
    EXPECT_EQ(proposal.file_name, L"Structure.htm");
    EXPECT_EQ(proposal.filter, L"Web page, complete (*.htm)");
    EXPECT_FALSE(FileExists(proposed_path));
}

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

// The typed name gets the default extension; the page is written there, and the host's current
// folder stays its own.
TEST_F(SaveDialog, SavesThePageUnderTheChosenName) {
    const std::wstring current_before = CurrentFolder();
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring typed = std::wstring(temp) + L"kv_dialog_page";
    const std::wstring saved_path = typed + L".htm";
    DeleteFileW(saved_path.c_str());
    unsigned char result = 0;
    {
        DialogDriver driver([&](HWND dialog) { ChooseFile(dialog, typed); });
        result = library_.SaveAsHTML()(model_.GetAddressOf(), owner_);
    }
    EXPECT_EQ(result, 1);
    EXPECT_EQ(FileBytes(saved_path), kvtest::GoldenText(KV_EXPORT_GOLDEN_DIR, "golden_empty"));
    EXPECT_EQ(CurrentFolder(), current_before);
    DeleteFileW(saved_path.c_str());
}

} // namespace
