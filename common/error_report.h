// What HandleError logs and shows for a caught error: the code, the text, the calls to the log
// server, the local log line and the dialog kind. Pure: no Windows header.
#pragma once

#include "common/message_buttons.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// E_UNEXPECTED: the code of every error that carries none of its own.
constexpr std::uint32_t DefaultErrorCode = 0x8000FFFF;

enum class ErrorOrigin {
    ComResult,      // an error carrying its own COM result code (and maybe a source)
    ProcessorFault, // access violation, arithmetic fault and the like
    Other,          // any other error: its message only
};

struct CaughtErrorFacts {
    ErrorOrigin origin = ErrorOrigin::Other;
    std::uint32_t code = DefaultErrorCode; // of ComResult only
    std::wstring message;
    std::wstring source; // of ComResult only: "Object.Method" or any text
};

struct LogErrorCall {
    std::wstring object;
    std::wstring method;
    std::uint32_t code = DefaultErrorCode;
    std::wstring message;
    std::wstring details;
    bool operator==(const LogErrorCall&) const = default;
};

struct ErrorReport {
    std::uint32_t code = DefaultErrorCode;
    std::wstring text; // shown (first letter upper-cased) and written to the local log
    std::vector<LogErrorCall> log_server_calls;
    std::wstring local_log_line; // written instead when there is no log server
    TMessageKind dialog_kind = mkError;
};

// The text shown for a processor fault when the caller gives no message of its own.
extern const std::wstring_view UnexpectedErrorText;

ErrorReport PlanErrorReport(const CaughtErrorFacts& error, std::wstring_view module,
                            std::wstring_view object, std::wstring_view method,
                            std::wstring_view details, std::wstring_view caller_message);

// "module : object.method(ErrorCode=8000FFFF) - text"
std::wstring LocalErrorLine(std::wstring_view module, std::wstring_view object,
                            std::wstring_view method, std::uint32_t code, std::wstring_view text);

// One entry of LogApp.log: "date time: text" and CR LF.
std::string AppLogEntry(std::string_view date_time, std::string_view text);
// The log starts anew, empty, once it is larger than this many bytes.
constexpr std::uint64_t AppLogMaximumSize = 64000;

} // namespace kv
