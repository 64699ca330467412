#include "common/handle_error.h"

#include "common/app_folder.h"
#include "common/application.h"
#include "common/error_report.h"
#include "common/message_dialog.h"
#include "common/outside_components.h"
#include "platform/barriers.h"
#include "platform/com_owners.h"
#include "platform/module_path.h"
#include "platform/paths.h"
#include "platform/text_conversion.h"
#include "platform/win_owners.h"
#include "platform/window_barrier.h"

namespace kv {

using Microsoft::WRL::ComPtr;

namespace {

CaughtErrorFacts FactsOf(const std::exception_ptr& error) {
    if (!error)
        return {};
    try {
        std::rethrow_exception(error);
    } catch (const ProcessorFault& fault) {
        return {ErrorOrigin::ProcessorFault, DefaultErrorCode, fault.Message(), {}};
    } catch (const LibraryError& library_error) {
        return {ErrorOrigin::ComResult, static_cast<std::uint32_t>(library_error.Code()),
                library_error.Message(), library_error.Source()};
    } catch (const std::exception& other) {
        return {ErrorOrigin::Other, DefaultErrorCode, WideFromAnsi(other.what()), {}};
    } catch (...) {
        // Nothing is known of it: as unexpected as a processor fault.
        return {ErrorOrigin::ProcessorFault, DefaultErrorCode, {}, {}};
    }
}

// The library's own file name, without its folder.
std::wstring ModuleName() {
    const std::wstring path = ModulePath(ThisModule());
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

// The user locale's short date, a blank and its long time; no time at exactly midnight.
std::string LocalDateTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t date[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, 128);
    std::wstring text = date;
    if (now.wHour || now.wMinute || now.wSecond || now.wMilliseconds) {
        wchar_t time[128] = {};
        GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, 128);
        text += L" ";
        text += time;
    }
    return ShownAnsiFromWide(text);
}

HANDLE OpenLog(const std::wstring& path, DWORD disposition) {
    // No sharing: a concurrent writer makes this append fail, and the entry is lost.
    return CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

void ShowError(const std::wstring& text, TMessageKind kind) {
    std::wstring shown = text;
    if (!shown.empty())
        CharUpperBuffW(shown.data(), 1);
    HWND owner = Application().Handle() ? nullptr : GetActiveWindow();
    ShowMessageDlg(shown, kind, mbOK, owner);
}

// Logs through `server` when there is one, else locally, then shows the error.
void Report(ILogServer* server, std::wstring_view object, std::wstring_view method,
            std::wstring_view details, std::wstring_view message, std::wstring_view note,
            const std::exception_ptr& error) {
    const std::wstring module = ModuleName();
    const ErrorReport report =
        PlanErrorReport(FactsOf(error), module, object, method, details, message);
    if (server) {
        for (const LogErrorCall& call : report.log_server_calls)
            check(server->LogError(Bstr(module).Get(), Bstr(call.object).Get(),
                                   Bstr(call.method).Get(), static_cast<LONG>(call.code),
                                   Bstr(call.message).Get(), Bstr(call.details).Get()));
        check(server->LogNote(Bstr(note).Get()));
    } else {
        WriteAppLog(report.local_log_line);
    }
    ShowError(report.text, report.dialog_kind);
}

} // namespace

std::wstring AppLogPath() {
    return TemporaryFolder() + L"LogApp.log";
}

void WriteAppLog(std::wstring_view text) noexcept {
    try {
        const std::string entry = AppLogEntry(LocalDateTime(), ShownAnsiFromWide(text));
        const std::wstring path = AppLogPath();
        FileHandle log(OpenLog(path, OPEN_ALWAYS));
        if (!log)
            return;
        LARGE_INTEGER size{};
        if (GetFileSizeEx(log.Get(), &size) &&
            static_cast<std::uint64_t>(size.QuadPart) > AppLogMaximumSize) {
            log.Reset();
            log.Reset(OpenLog(path, CREATE_ALWAYS));
            if (!log)
                return;
        }
        SetFilePointer(log.Get(), 0, nullptr, FILE_END);
        DWORD written = 0;
        WriteFile(log.Get(), entry.data(), static_cast<DWORD>(entry.size()), &written, nullptr);
    } catch (...) {
        // The entry is lost.
    }
}

void HandleError(std::wstring_view object, std::wstring_view method, std::wstring_view details,
                 std::wstring_view message, std::wstring_view note, std::exception_ptr error) {
    ComPtr<ILogServer> server;
    try {
        server = CoLogServer(); // a new one for every error, released at the end
    } catch (...) {
        WriteAppLog(L"Ошибка создания сервера ведения лога: " + DescribeCaughtException().message);
    }
    Report(server.Get(), object, method, details, message, note, error);
}

void THandleException::ExceptionEvent(std::exception_ptr error) noexcept {
    try {
        HandleError(L"THandleException", L"ExceptionEvent", L"", L"", L"", error);
    } catch (...) {
        // The log server failed to log: the error must not escape into the host's message loop
        // or vanish unseen, so it is logged locally and shown after all.
        try {
            WriteAppLog(L"Ошибка сервера ведения лога: " + DescribeCaughtException().message);
            Report(nullptr, L"THandleException", L"ExceptionEvent", L"", L"", L"", error);
        } catch (...) {
        }
    }
}

void AttachErrorHandler() {
    Application().SetExceptionHandler(&THandleException::ExceptionEvent);
}

void DetachErrorHandler() {
    Application().SetExceptionHandler(nullptr);
}

} // namespace kv
