#include "support/process.h"

#include "support/wide_text.h"

#include <windows.h>

#include <vector>

namespace kvtest {
namespace {

// A handle closed on scope exit.
class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE value = nullptr) : value_(value) {}
    ~OwnedHandle() {
        if (value_ && value_ != INVALID_HANDLE_VALUE)
            CloseHandle(value_);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE get() const { return value_; }
    HANDLE* put() { return &value_; }

private:
    HANDLE value_;
};

// Appends what the pipe holds now, without waiting for more.
void DrainAvailable(HANDLE pipe, std::string& output) {
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available) {
        std::string chunk(available, '\0');
        DWORD read = 0;
        if (!ReadFile(pipe, chunk.data(), available, &read, nullptr) || !read)
            return;
        output.append(chunk, 0, read);
    }
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

} // namespace

ProcessOutcome RunProcess(const std::wstring& command_line, unsigned long timeout_ms) {
    ProcessOutcome outcome;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    OwnedHandle read_end, write_end;
    if (!CreatePipe(read_end.put(), write_end.put(), &inherit, 0)) {
        outcome.output = "cannot make the output pipe";
        return outcome;
    }
    SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write_end.get();
    startup.hStdError = write_end.get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION started{};
    std::vector<wchar_t> command(command_line.begin(), command_line.end());
    command.push_back(L'\0');
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &started)) {
        outcome.output = "cannot start the program (error " + std::to_string(GetLastError()) + ")";
        return outcome;
    }
    OwnedHandle process(started.hProcess), thread(started.hThread);
    // Only the child keeps the write end open from here on.
    CloseHandle(write_end.get());
    *write_end.put() = nullptr;

    // The pipe is drained while the program runs, so a full pipe never blocks it.
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    while (WaitForSingleObject(process.get(), 20) == WAIT_TIMEOUT) {
        DrainAvailable(read_end.get(), outcome.output);
        if (GetTickCount64() >= deadline) {
            TerminateProcess(process.get(), ~0u);
            WaitForSingleObject(process.get(), 5000);
            outcome.timed_out = true;
            break;
        }
    }
    DrainAvailable(read_end.get(), outcome.output);
    DWORD code = ~0u;
    if (!outcome.timed_out && GetExitCodeProcess(process.get(), &code))
        outcome.exit_code = code;
    return outcome;
}

ProcessOutcome RunHost(const std::vector<std::string>& arguments) {
    std::wstring command = L"\"" + ProgramFolder() + L"kvhost.exe\"";
    for (const std::string& argument : arguments)
        command += L" \"" + Widen(argument) + L"\"";
    return RunProcess(command);
}

} // namespace kvtest
