// HandleError: every error escaping an event handler of the library's windows is logged (to the
// log server, or to LogApp.log in the temporary folder when there is none) and then shown.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace kv {

// Logs and shows `error` (by default the exception being handled). `object` and `method` say
// where it was caught; `details` goes to the log server with it, `message` comes before the
// error's own text when not empty, `note` goes to the log server as a note. An error of the log
// server's LogError or LogNote passes to the caller, before anything is shown.
void HandleError(std::wstring_view object, std::wstring_view method, std::wstring_view details,
                 std::wstring_view message, std::wstring_view note,
                 std::exception_ptr error = std::current_exception());

// Appends "date time: text" to LogApp.log in the temporary folder; a log past 64000 bytes starts
// anew. Any failure loses the entry silently.
void WriteAppLog(std::wstring_view text) noexcept;
// The local log: the temporary folder and "\LogApp.log".
std::wstring AppLogPath();

// The handler of the application object's exception event: reports the error through
// HandleError as caught in "THandleException"."ExceptionEvent".
class THandleException {
public:
    static void ExceptionEvent(std::exception_ptr error) noexcept;
};

// Start-up and finalisation: THandleException on the application object's exception event.
void AttachErrorHandler();
void DetachErrorHandler();

} // namespace kv
