// What HandleError logs and shows, by the kind of error caught.
#include "common/error_report.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

CaughtErrorFacts Plain(std::wstring message) {
    return {ErrorOrigin::Other, DefaultErrorCode, std::move(message), {}};
}

CaughtErrorFacts Com(std::uint32_t code, std::wstring message, std::wstring source = {}) {
    return {ErrorOrigin::ComResult, code, std::move(message), std::move(source)};
}

CaughtErrorFacts Fault(std::wstring message) {
    return {ErrorOrigin::ProcessorFault, DefaultErrorCode, std::move(message), {}};
}

ErrorReport Plan(const CaughtErrorFacts& error, std::wstring_view caller_message = L"") {
    return PlanErrorReport(error, L"korvalith.dll", L"THandleException", L"ExceptionEvent",
                           L"details", caller_message);
}

TEST(ErrorReport, PlainErrorShowsItsMessageAsAnError) {
    const ErrorReport report = Plan(Plain(L"файл не найден"));
    EXPECT_EQ(report.code, 0x8000FFFFu);
    EXPECT_EQ(report.text, L"файл не найден");
    EXPECT_EQ(report.dialog_kind, mkError);
    EXPECT_EQ(report.local_log_line, L"korvalith.dll : THandleException.ExceptionEvent"
                                     L"(ErrorCode=8000FFFF) - файл не найден");
    const std::vector<LogErrorCall> calls = {
        {L"THandleException", L"ExceptionEvent", 0x8000FFFF, L"файл не найден", L"details"}};
    EXPECT_EQ(report.log_server_calls, calls);
}

TEST(ErrorReport, ComErrorKeepsItsCodeAndInforms) {
    const ErrorReport report = Plan(Com(0x80004005, L"kernel failed", L"ZKernel.zrLocate"));
    EXPECT_EQ(report.code, 0x80004005u);
    EXPECT_EQ(report.dialog_kind, mkInformation);
    EXPECT_EQ(report.local_log_line, L"korvalith.dll : THandleException.ExceptionEvent"
                                     L"(ErrorCode=80004005) - kernel failed");
    // The error's own source is logged first, split at its first ".".
    const std::vector<LogErrorCall> calls = {
        {L"ZKernel", L"zrLocate", 0x80004005, L"kernel failed", L""},
        {L"THandleException", L"ExceptionEvent", 0x80004005, L"kernel failed", L"details"}};
    EXPECT_EQ(report.log_server_calls, calls);
}

TEST(ErrorReport, ComErrorSourceWithoutDotIsAllMethod) {
    const ErrorReport report = Plan(Com(0x80004005, L"m", L"ZKernel"));
    ASSERT_EQ(report.log_server_calls.size(), 2u);
    EXPECT_EQ(report.log_server_calls[0].object, L"");
    EXPECT_EQ(report.log_server_calls[0].method, L"ZKernel");
}

TEST(ErrorReport, ComErrorWithDefaultCodeIsAnError) {
    EXPECT_EQ(Plan(Com(0x8000FFFF, L"m")).dialog_kind, mkError);
    EXPECT_EQ(Plan(Com(0x8000FFFF, L"m")).log_server_calls.size(), 1u); // no source
}

TEST(ErrorReport, CallerMessageComesFirst) {
    EXPECT_EQ(Plan(Com(0x80004005, L"kernel failed"), L"Не удалось").text,
              L"Не удалось, kernel failed");
    const ErrorReport plain = Plan(Plain(L"inner"), L"Не удалось");
    EXPECT_EQ(plain.text, L"Не удалось");
    EXPECT_EQ(plain.log_server_calls.at(0).message, L"inner"); // the error's own message
}

TEST(ErrorReport, ProcessorFaultIsUnexpectedForTheUser) {
    const ErrorReport report = Plan(Fault(L"Access violation at 0x00000000"));
    EXPECT_EQ(report.text, L"непредвиденная ошибка");
    EXPECT_EQ(report.dialog_kind, mkError);
    EXPECT_EQ(report.log_server_calls.at(0).message, L"Access violation at 0x00000000");
}

TEST(ErrorReport, EmptyMessageShowsEmptyText) {
    EXPECT_EQ(Plan(Plain(L"")).text, L"");
}

TEST(AppLogEntry, IsDateTimeColonTextAndLineEnd) {
    EXPECT_EQ(AppLogEntry("10.12.2026 6:30:01", "text"), "10.12.2026 6:30:01: text\r\n");
}

} // namespace
