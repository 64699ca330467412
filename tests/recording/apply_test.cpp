// The apply path of a difference recording, driven under Xvfb: the question, the run of the
// temporary scenario on the model, and the save path when the answer is No. Linked with the
// recording unit itself, since only the difference scenario turns a recording into a
// difference recording.
#include "support/dialog_driver.h"
#include "support/file_dialog_driver.h"
#include "golden.h"
#include "support/host_setting.h"
#include "support/stand_in_model.h"
#include "support/wide_text.h"

#include "recording/recording_session.h"
#include "recording/recording_state.h"
#include "recording/spill_file.h"
#include "recording/structure_fragments.h"

#include <oleauto.h>

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <string>

using namespace kv;

namespace {

using Microsoft::WRL::ComPtr;

using kvtest::Narrow;

std::wstring TemporaryScenario() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    return std::wstring(temp) + L"temp_vbs.vbs";
}

class ApplyTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        comInitialised_ = true;
        if (!kvtest::StandInModel::Registered())
            GTEST_SKIP() << "the kernel stand-in zkernel.ZModel is not registered";
        model_ = kvtest::StandInModel().Model();
        owner_ = kvtest::CreateOwnerWindow(L"apply owner");
        ASSERT_NE(owner_, nullptr);
        ComPtr<IZClassVector> classes;
        ASSERT_EQ(model_->zrGetClassVector(&classes), S_OK);
        for (const wchar_t* name : {L"Деталь", L"Узел"}) {
            BSTR text = SysAllocString(name);
            ComPtr<IZClass> cls;
            EXPECT_EQ(classes->zrAdd(text, &cls), S_OK);
            SysFreeString(text);
        }
        DeleteFileW(TemporaryScenario().c_str());

        // A difference recording holding one link.
        ASSERT_TRUE(kv::scriptStart(model_.Get()));
        ASSERT_TRUE(kv::scriptClassLink(L"Деталь", L"Узел", false));
        DifferenceMode = true;
    }

    void TearDown() override {
        ReleaseRecording();
        if (!savedPath_.empty())
            DeleteFileW(savedPath_.c_str());
        if (owner_)
            DestroyWindow(owner_);
        model_.Reset();
        if (comInitialised_)
            CoUninitialize();
    }

    // Ends the recording answering the question with the button of that caption.
    bool EndAnswering(const wchar_t* answer, HWND owner, const std::string& fileName) {
        bool ended = false;
        DialogDriver driver([&](HWND dialog) {
            question_ = DialogTexts(dialog);
            Click(FindButton(dialog, answer));
        });
        IZModel* variable = model_.Get();
        ended = kv::scriptEnd(owner, fileName, &variable);
        return ended;
    }

    bool LinkMade() {
        ComPtr<IZClassVector> classes;
        EXPECT_EQ(model_->zrGetClassVector(&classes), S_OK);
        BSTR parentName = SysAllocString(L"Деталь");
        BSTR childName = SysAllocString(L"Узел");
        ComPtr<IZClass> parent, child;
        EXPECT_EQ(classes->zrLocate(parentName, &parent), S_OK);
        EXPECT_EQ(parent->zrnChildClassItem(childName, &child), S_OK);
        SysFreeString(parentName);
        SysFreeString(childName);
        return child != nullptr;
    }

    void ExpectAsked() {
        EXPECT_NE(question_.find(L"Применить изменения к текущей структуре?"), std::wstring::npos)
            << Narrow(question_);
    }

    ComPtr<IZModel> model_;
    HWND owner_ = nullptr;
    std::wstring question_;
    std::wstring savedPath_;

private:
    bool comInitialised_ = false;
};

TEST_F(ApplyTest, YesRunsTheScenarioOnTheModelAndKeepsNoFile) {
    EXPECT_TRUE(EndAnswering(L"Да", owner_, ""));
    ExpectAsked();
    EXPECT_TRUE(LinkMade());
    EXPECT_EQ(GetFileAttributesW(TemporaryScenario().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(RecordingActive);
}

// A recording spilled to a temporary file is applied from that file, renamed to the temporary
// scenario; neither file is left.
TEST_F(ApplyTest, SpilledRecordingIsRunFromItsSpillFile) {
    SetEnvironmentVariableW(L"KV_SPILL_THRESHOLD", L"0");
    ASSERT_TRUE(kv::scriptStart(model_.Get()));
    SetEnvironmentVariableW(L"KV_SPILL_THRESHOLD", nullptr);
    ASSERT_TRUE(kv::scriptClassLink(L"Деталь", L"Узел", false));
    DifferenceMode = true;
    ASSERT_TRUE(ScriptBuffer->Spilled());
    const std::wstring spill = dynamic_cast<SpillFile&>(*ScriptBuffer->Store()).Path();

    EXPECT_TRUE(EndAnswering(L"Да", owner_, ""));
    EXPECT_TRUE(LinkMade());
    EXPECT_EQ(GetFileAttributesW(TemporaryScenario().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(spill.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(RecordingActive);
}

TEST_F(ApplyTest, YesWithoutOwnerStillClosesTheRecording) {
    // The runner refuses to run without an owner; the file is still written and deleted.
    EXPECT_TRUE(EndAnswering(L"Да", nullptr, ""));
    EXPECT_FALSE(LinkMade());
    EXPECT_EQ(GetFileAttributesW(TemporaryScenario().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(RecordingActive);
}

TEST_F(ApplyTest, RunnerErrorIsShownAndTheRecordingStillCloses) {
    // A line the script engine cannot compile makes the runner fail.
    ScriptBuffer->push_back("if then");
    std::wstring message;
    std::wstring caption;
    bool ended = false;
    {
        DialogDriver driver([&](HWND question) {
            question_ = DialogTexts(question);
            Click(FindButton(question, L"Да"));
            while (IsWindow(question))
                Sleep(10);
            HWND shown = DialogDriver::WaitForDialog(GetWindowThreadProcessId(question, nullptr));
            if (!shown)
                return;
            caption = WindowText(shown);
            message = DialogTexts(shown);
            Click(FindButton(shown, L"OK"));
        });
        IZModel* variable = model_.Get();
        ended = kv::scriptEnd(owner_, "", &variable);
    }
    EXPECT_TRUE(ended);
    ExpectAsked();
    EXPECT_EQ(caption, L"Информация");
    EXPECT_NE(message.find(L"Ошибка выполнения сценария:"), std::wstring::npos) << Narrow(message);
    EXPECT_EQ(GetFileAttributesW(TemporaryScenario().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(RecordingActive);
}

TEST_F(ApplyTest, NoSavesLikeAPlainRecording) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    savedPath_ =
        std::wstring(temp) + L"kv_apply_" + std::to_wstring(GetCurrentProcessId()) + L".vbs";
    EXPECT_TRUE(EndAnswering(L"Нет", owner_, Narrow(savedPath_)));
    ExpectAsked();
    EXPECT_FALSE(LinkMade());
    EXPECT_FALSE(RecordingActive);

    HANDLE file = CreateFileW(savedPath_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    EXPECT_EQ(bytes, ScenarioWith(Golden("link_added")));
}

} // namespace
