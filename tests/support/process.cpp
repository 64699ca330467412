#include "host_process.h"

#include <windows.h>

#include <stdexcept>

namespace {

std::string ProgramFolder() {
    char path[MAX_PATH * 2];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// A handle closed on scope exit.
struct OwnedHandle {
    HANDLE value = INVALID_HANDLE_VALUE;
    ~OwnedHandle() {
        if (value && value != INVALID_HANDLE_VALUE)
            CloseHandle(value);
    }
};

} // namespace

HostOutcome RunHost(const std::vector<std::string>& arguments) {
    const std::string program = ProgramFolder() + "kvhost.exe";
    std::string command = "\"" + program + "\"";
    for (const std::string& argument : arguments)
        command += " \"" + argument + "\"";

    // The output goes to a file, so a full pipe can never block the host.
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char output_path[MAX_PATH];
    GetTempFileNameA(temp, "kvh", 0, output_path);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    OwnedHandle output;
    output.value = CreateFileA(output_path, GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (output.value == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create the output file");

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output.value;
    startup.hStdError = output.value;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &process))
        throw std::runtime_error("cannot start " + program);
    OwnedHandle process_handle, thread_handle;
    process_handle.value = process.hProcess;
    thread_handle.value = process.hThread;
    WaitForSingleObject(process.hProcess, INFINITE);

    HostOutcome outcome;
    GetExitCodeProcess(process.hProcess, &outcome.exit_code);
    SetFilePointer(output.value, 0, nullptr, FILE_BEGIN);
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(output.value, buffer, sizeof buffer, &read, nullptr) && read)
        outcome.output.append(buffer, read);
    CloseHandle(output.value);
    output.value = INVALID_HANDLE_VALUE;
    DeleteFileA(output_path);
    return outcome;
}
