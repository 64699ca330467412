// A user of the scenario editor: a helper thread that waits for the editor and its dialogs on
// the test's thread and works them with the mouse and the keyboard, while the test's thread runs
// scriptExecute. A wait that never ends fails the test and cancels what is open, so the test's
// thread gets back.
#pragma once

#include "support/file_dialog_driver.h"

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

class EditorUser {
public:
    explicit EditorUser(DWORD thread) : thread_(thread) {}

    // A visible common file dialog of the thread.
    HWND WaitForFileDialog();
    // A visible message dialog of the library.
    HWND WaitForMessage();
    // The editor window, enabled, with no dialog over it, its thread waiting for input.
    HWND WaitForEditor();
    // Waits until the condition holds; false (and the test failed) when it never does.
    bool WaitUntil(const std::function<bool()>& condition, const char* what);
    // A visible window of the class on the thread, or null.
    HWND FindWindowOfClass(const wchar_t* windowClass) const;

    // Gives up: presses Cancel on whatever the thread shows until the editor is gone.
    void CancelEverything();

    // What went wrong, reported by the test's thread (the test framework is not thread-safe
    // in this build).
    const std::string& Failures() const { return failures_; }

private:
    HWND WaitForDialog(bool (*kind)(HWND dialog), const char* what);

    DWORD thread_;
    std::string failures_;
};

// Runs `script` on a helper thread with a user of the calling thread's windows; the user's
// failures fail the test when the thread is done.
class UserThread {
public:
    explicit UserThread(std::function<void(EditorUser&)> script);
    UserThread(const UserThread&) = delete;
    UserThread& operator=(const UserThread&) = delete;
    ~UserThread();

private:
    EditorUser user_;
    std::thread helper_;
};

// Message dialogs.
std::wstring MessageText(HWND dialog);
void Answer(HWND dialog, const wchar_t* buttonCaption);

// The editor window's parts.
HWND TextWindow(HWND editor);                            // the rich edit that holds the scenario
std::wstring EditorText(HWND editor);                    // lines end with CR LF
void ReplaceText(HWND editor, const std::wstring& text); // select all and type
void TypeAtEnd(HWND editor, const std::wstring& text);
struct Caret {
    int line;   // from 1
    int column; // from 0
};
Caret CaretOf(HWND editor);
std::wstring ErrorLine(HWND editor); // eError
void ClickRun(HWND editor);
void ClickCancel(HWND editor);
void ClickToolButton(HWND editor, int index);   // 0 open, 1 save, 2 save as
POINT ToolButtonCentre(HWND editor, int index); // in screen coordinates
