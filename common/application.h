// The application object of the library's windows: one per process, touched only on the host's
// user-interface thread.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace kv {

class TApplication {
public:
    // 0 unless scriptExecute sets it to the owner window for the scenario editor's life.
    HWND Handle() const noexcept { return handle_; }
    void SetHandle(HWND handle) noexcept { handle_ = handle; }

    // The host executable's file name without folder and extension.
    const std::wstring& Title();
    // The caption of messages of the custom kind: the text of the application's window when it
    // has one, else Title().
    std::wstring DisplayTitle();

    // The application's context help. No help file is attached to the library's application
    // object, so nothing is shown and the answer is false.
    bool HelpContext(int context) noexcept { return false; }

    // The window class of the hints shown over the library's windows; installed once at
    // start-up by the message-dialog unit (null until then).
    const wchar_t* HintWindowClass() const noexcept { return hint_window_class_; }
    void SetHintWindowClass(const wchar_t* window_class) noexcept {
        hint_window_class_ = window_class;
    }

    // The error barrier of the library's windows: an exception escaping one of their event
    // handlers is passed here (the window barrier gets the same handler). Until the error unit
    // attaches its handler it is dropped.
    using ExceptionHandler = void (*)(std::exception_ptr error);
    void SetExceptionHandler(ExceptionHandler handler) noexcept;
    void HandleException(std::exception_ptr error) noexcept;

private:
    HWND handle_ = nullptr;
    std::wstring title_;
    const wchar_t* hint_window_class_ = nullptr;
    ExceptionHandler exception_handler_ = nullptr;
};

TApplication& Application();

} // namespace kv
