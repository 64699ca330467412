// The scenario editor under test: scriptExecute with no file name on the test's thread while a
// helper thread (EditorUser) works the editor, against the kernel stand-in and the real Script
// Control, with the library's window services started as its start-up starts them.
#pragma once

#include "editor_user.h"
#include "runner_fixture.h"
#include "support/files.h"

#include "standins/logserver/log_recorder.h"

#include <functional>
#include <string>

inline constexpr char kCreateAlphaAndBeta[] = "set classes = mdl.zrGetClassVector\r\n"
                                              "classes.zrAdd \"Alpha\"\r\n"
                                              "classes.zrAdd \"Beta\"\r\n";

using kvtest::FileBytes;
using kvtest::LockedFile;

class EditorTest : public RunnerTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the editor and, through its first open dialog, the file; then runs the script.
    // The result of scriptExecute.
    bool EditFile(const std::wstring& path, const std::function<void(EditorUser&, HWND)>& script);
    // A scenario file in the private folder; its full path.
    std::wstring Scenario(const std::string& name, const std::string& text);
    // The calls the stand-ins recorded (log server, directory component).
    std::wstring RecordedCalls();

    Microsoft::WRL::ComPtr<IKvLogRecorder> recorder_;
};
