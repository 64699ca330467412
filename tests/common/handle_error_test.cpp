// HandleError as the library's windows meet it: errors escaping a handler are logged to the
// log-server stand-in, or to LogApp.log when no log server can be created, then shown.
#include "support/dialog_driver.h"

#include "platform/com_owners.h"
#include "platform/barriers.h"
#include "common/handle_error.h"
#include "common/message_form.h"
#include "platform/text_conversion.h"
#include "platform/window_barrier.h"
#include "standins/logserver/log_recorder.h"

#include <gtest/gtest.h>

#include <wrl/client.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

using namespace kv;

using Microsoft::WRL::ComPtr;

namespace {

const std::wstring module_name = L"common_handle_error_test.exe";

struct ShownMessage {
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons;
};

class HandleErrorTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        ASSERT_EQ(CoCreateInstance(CLSID_KvLogRecorder, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IKvLogRecorder, &recorder_),
                  S_OK)
            << "kvstandins.dll is not registered";
        recorder_->Clear();
        DeleteFileW(AppLogPath().c_str());
        AttachErrorHandler();
    }
    void TearDown() override {
        DetachErrorHandler();
        if (recorder_) {
            recorder_->SetCreatable(TRUE);
            recorder_->SetFailing(FALSE);
            recorder_->Clear();
        }
        recorder_.Reset();
        DeleteFileW(AppLogPath().c_str());
        CoUninitialize();
    }

    std::wstring LogServerCalls() {
        Bstr calls;
        recorder_->Calls(calls.Out());
        return std::wstring(calls.View());
    }

    // The lines of LogApp.log, without their CR LF.
    static std::vector<std::wstring> LocalLog() {
        std::ifstream file(std::filesystem::path(AppLogPath()), std::ios::binary);
        std::stringstream content;
        content << file.rdbuf();
        std::vector<std::wstring> lines;
        std::string text = content.str();
        for (std::size_t end; (end = text.find("\r\n")) != std::string::npos;) {
            lines.push_back(WideFromAnsi(text.substr(0, end)));
            text.erase(0, end + 2);
        }
        EXPECT_EQ(text, "") << "the last entry ends with CR LF";
        return lines;
    }

    // Runs `work` in a handler of the library's windows and answers the message it shows.
    static ShownMessage Handle(const std::function<void()>& work) {
        ShownMessage shown;
        DialogDriver driver([&](HWND dialog) {
            shown.caption = WindowText(dialog);
            shown.text = WindowText(GetDlgItem(dialog, MessageTextId));
            for (HWND button : ButtonsLeftToRight(dialog))
                shown.buttons.push_back(WindowText(button));
            Click(FindButton(dialog, L"OK"));
        });
        EXPECT_FALSE(RunWindowHandler(work));
        return shown;
    }

    ComPtr<IKvLogRecorder> recorder_;
};

// "date time: entry" with today's date in the user's short format.
void ExpectEntry(const std::wstring& line, const std::wstring& entry) {
    wchar_t today[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, today, 128);
    EXPECT_EQ(line.rfind(today, 0), 0u) << testing::PrintToString(line);
    const std::wstring ending = L": " + entry;
    ASSERT_GE(line.size(), ending.size()) << testing::PrintToString(line);
    EXPECT_EQ(line.substr(line.size() - ending.size()), ending);
}

TEST_F(HandleErrorTest, PlainErrorWithoutLogServerIsLoggedLocallyThenShown) {
    recorder_->SetCreatable(FALSE);
    const ShownMessage shown =
        Handle([] { throw std::runtime_error(ShownAnsiFromWide(L"файл сценария не найден")); });
    EXPECT_EQ(shown.caption, L"Ошибка");
    EXPECT_EQ(shown.text, L"Файл сценария не найден");
    EXPECT_EQ(shown.buttons, std::vector<std::wstring>{L"OK"});

    const std::vector<std::wstring> log = LocalLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find(L": Ошибка создания сервера ведения лога: "), std::wstring::npos)
        << testing::PrintToString(log[0]);
    ExpectEntry(log[1], module_name + L" : THandleException.ExceptionEvent(ErrorCode=8000FFFF)"
                                      L" - файл сценария не найден");
    EXPECT_EQ(LogServerCalls(), L"");
}

TEST_F(HandleErrorTest, ComErrorWithItsOwnCodeInforms) {
    recorder_->SetCreatable(FALSE);
    const ShownMessage shown = Handle([] { throw LibraryError(E_FAIL, L"kernel failed"); });
    EXPECT_EQ(shown.caption, L"Информация");
    EXPECT_EQ(shown.text, L"Kernel failed");
    const std::vector<std::wstring> log = LocalLog();
    ASSERT_EQ(log.size(), 2u);
    ExpectEntry(log[1],
                module_name +
                    L" : THandleException.ExceptionEvent(ErrorCode=80004005) - kernel failed");
}

TEST_F(HandleErrorTest, WithLogServerTheErrorAndItsSourceAreLoggedThere) {
    const ShownMessage shown =
        Handle([] { throw LibraryError(E_FAIL, L"kernel failed", L"ZKernel.zrLocate"); });
    EXPECT_EQ(shown.text, L"Kernel failed");
    EXPECT_EQ(LogServerCalls(), L"LogError|" + module_name +
                                    L"|ZKernel|zrLocate|80004005|kernel failed|\n"
                                    L"LogError|" +
                                    module_name +
                                    L"|THandleException|ExceptionEvent|80004005|kernel failed|\n"
                                    L"LogNote|\n");
    EXPECT_EQ(GetFileAttributesW(AppLogPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

int* volatile null_pointer = nullptr;

TEST_F(HandleErrorTest, AccessViolationIsShownAsUnexpected) {
    const ShownMessage shown = Handle([] { *null_pointer = 1; });
    EXPECT_EQ(shown.caption, L"Ошибка");
    EXPECT_EQ(shown.text, L"Непредвиденная ошибка");
    // The log server gets the fault's own description.
    const std::wstring calls = LogServerCalls();
    EXPECT_EQ(calls.rfind(L"LogError|" + module_name +
                              L"|THandleException|ExceptionEvent|8000FFFF|Access violation "
                              L"(C0000005) at address ",
                          0),
              0u)
        << testing::PrintToString(calls);
}

TEST_F(HandleErrorTest, CallerMessageDetailsAndNoteReachTheLogServer) {
    ShownMessage shown;
    {
        DialogDriver driver([&](HWND dialog) {
            shown.text = WindowText(GetDlgItem(dialog, MessageTextId));
            Click(FindButton(dialog, L"OK"));
        });
        HandleError(L"TfScenery", L"bRunClick", L"details", L"не удалось выполнить", L"note",
                    std::make_exception_ptr(LibraryError(E_FAIL, L"kernel failed")));
    }
    EXPECT_EQ(shown.text, L"Не удалось выполнить, kernel failed");
    EXPECT_EQ(LogServerCalls(),
              L"LogError|" + module_name +
                  L"|TfScenery|bRunClick|80004005|не удалось выполнить, kernel failed|details\n"
                  L"LogNote|note\n");
}

TEST_F(HandleErrorTest, FailingLogServerStillLogsLocallyAndShows) {
    recorder_->SetFailing(TRUE);
    const ShownMessage shown = Handle([] { throw std::runtime_error("disk is full"); });
    EXPECT_EQ(shown.text, L"Disk is full");
    const std::vector<std::wstring> log = LocalLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find(L": Ошибка сервера ведения лога: "), std::wstring::npos);
    ExpectEntry(log[1], module_name + L" : THandleException.ExceptionEvent(ErrorCode=8000FFFF)"
                                      L" - disk is full");
}

TEST_F(HandleErrorTest, EmptyMessageShowsAnEmptyTextWithOk) {
    const ShownMessage shown = Handle([] { throw std::runtime_error(""); });
    EXPECT_EQ(shown.text, L"");
    EXPECT_EQ(shown.buttons, std::vector<std::wstring>{L"OK"});
}

class AppLog : public testing::Test {
protected:
    void SetUp() override { DeleteFileW(AppLogPath().c_str()); }
    void TearDown() override { DeleteFileW(AppLogPath().c_str()); }

    static void Fill(std::size_t size) {
        std::ofstream(std::filesystem::path(AppLogPath()), std::ios::binary)
            << std::string(size, 'x');
    }
    static std::string Content() {
        std::ifstream file(std::filesystem::path(AppLogPath()), std::ios::binary);
        std::stringstream content;
        content << file.rdbuf();
        return content.str();
    }
};

TEST_F(AppLog, LogOfExactly64000BytesIsAppendedTo) {
    Fill(64000);
    WriteAppLog(L"entry");
    const std::string content = Content();
    EXPECT_EQ(content.substr(0, 64000), std::string(64000, 'x'));
    EXPECT_EQ(content.substr(content.size() - 9), ": entry\r\n");
}

TEST_F(AppLog, LogLargerThan64000BytesStartsAnew) {
    Fill(64001);
    WriteAppLog(L"entry");
    const std::string content = Content();
    EXPECT_EQ(content.find('x'), std::string::npos);
    EXPECT_EQ(content.substr(content.size() - 9), ": entry\r\n");
    EXPECT_EQ(content.find("\r\n"), content.size() - 2); // one entry
}

TEST_F(AppLog, LockedLogLosesTheEntrySilently) {
    Fill(10);
    HANDLE locked = CreateFileW(AppLogPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    WriteAppLog(L"entry");
    CloseHandle(locked);
    EXPECT_EQ(Content(), std::string(10, 'x'));
}

} // namespace
