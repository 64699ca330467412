#include "editor_fixture.h"

#include "platform/com_owners.h"
#include "common/font_scale.h"
#include "common/handle_error.h"
#include "common/hint_window.h"

#include <fstream>
#include <iterator>

using namespace kv;

void EditorTest::SetUp() {
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

void EditorTest::TearDown() {
    DetachErrorHandler();
    recorder_.Reset();
    RunnerTest::TearDown();
}

bool EditorTest::EditFile(const std::wstring& path,
                          const std::function<void(EditorUser&, HWND)>& script) {
    UserThread user([&](EditorUser& user) {
        HWND open = user.WaitForFileDialog();
        if (!open)
            return;
        ChooseFile(open, path);
        if (HWND editor = user.WaitForEditor())
            script(user, editor);
    });
    return Execute("");
}

std::wstring EditorTest::Scenario(const std::string& name, const std::string& text) {
    return Widen(WriteScenario(name, text));
}

std::wstring EditorTest::RecordedCalls() {
    Bstr calls;
    if (recorder_)
        recorder_->Calls(calls.Out());
    return std::wstring(calls.View());
}
