#include "common/error_report.h"

#include <cwchar>

namespace kv {

const std::wstring_view UnexpectedErrorText = L"непредвиденная ошибка";

namespace {

// "Object.Method" -> {"Object", "Method"}; without "." the first part is empty.
std::pair<std::wstring, std::wstring> SplitSource(std::wstring_view source) {
    const std::size_t dot = source.find(L'.');
    if (dot == std::wstring_view::npos)
        return {std::wstring(), std::wstring(source)};
    return {std::wstring(source.substr(0, dot)), std::wstring(source.substr(dot + 1))};
}

} // namespace

ErrorReport PlanErrorReport(const CaughtErrorFacts& error, std::wstring_view module,
                            std::wstring_view object, std::wstring_view method,
                            std::wstring_view details, std::wstring_view caller_message) {
    ErrorReport report;
    if (error.origin == ErrorOrigin::ComResult) {
        report.code = error.code;
        report.text = caller_message.empty() ? error.message
                                             : std::wstring(caller_message) + L", " + error.message;
        if (!error.source.empty()) {
            auto [source_object, source_method] = SplitSource(error.source);
            report.log_server_calls.push_back(
                {source_object, source_method, report.code, error.message, {}});
        }
        report.log_server_calls.push_back({std::wstring(object), std::wstring(method), report.code,
                                           report.text, std::wstring(details)});
    } else {
        if (!caller_message.empty())
            report.text = caller_message;
        else if (error.origin == ErrorOrigin::ProcessorFault)
            report.text = UnexpectedErrorText;
        else
            report.text = error.message;
        // The log server gets the error's own message, not the text shown.
        report.log_server_calls.push_back({std::wstring(object), std::wstring(method), report.code,
                                           error.message, std::wstring(details)});
    }
    report.local_log_line = LocalErrorLine(module, object, method, report.code, report.text);
    report.dialog_kind = report.code == DefaultErrorCode ? mkError : mkInformation;
    return report;
}

std::wstring LocalErrorLine(std::wstring_view module, std::wstring_view object,
                            std::wstring_view method, std::uint32_t code, std::wstring_view text) {
    wchar_t hex[16];
    std::swprintf(hex, 16, L"%08X", static_cast<unsigned>(code));
    std::wstring line(module);
    line += L" : ";
    line += object;
    line += L".";
    line += method;
    line += L"(ErrorCode=";
    line += hex;
    line += L") - ";
    line += text;
    return line;
}

std::string AppLogEntry(std::string_view date_time, std::string_view text) {
    std::string entry(date_time);
    entry += ": ";
    entry += text;
    entry += "\r\n";
    return entry;
}

} // namespace kv
