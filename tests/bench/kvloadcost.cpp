// kvloadcost: what loading a DLL costs a host process. Loads each DLL named on the command line
// into a fresh copy of itself, whose system libraries that the DLL imports are loaded already,
// and prints the growth of the working set and of the private bytes between just before
// LoadLibrary and just after it, and the file's size. A benchmark, not a
// test: its numbers go into release notes.
#include "support/pe_imports.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

PROCESS_MEMORY_COUNTERS_EX Counters() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(),
                         reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters;
}

double Megabytes(long long bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// Loads the DLLs that the image imports, so that what is measured is the image itself and not
// the system libraries, which a host has loaded anyway.
void LoadImports(const wchar_t* path) {
    for (const std::string& name : kvtest::ImportedDllNames(path))
        LoadLibraryA(name.c_str());
}

// In this process: load the DLL once and print what it added.
int MeasureHere(const wchar_t* path) {
    LoadImports(path);
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &file)) {
        std::fwprintf(stderr, L"kvloadcost: %ls: no such file\n", path);
        return 1;
    }
    const PROCESS_MEMORY_COUNTERS_EX before = Counters();
    const HMODULE module = LoadLibraryW(path);
    if (!module) {
        std::fwprintf(stderr, L"kvloadcost: %ls: LoadLibrary failed (%lu)\n", path, GetLastError());
        return 1;
    }
    const PROCESS_MEMORY_COUNTERS_EX after = Counters();
    const long long size = (static_cast<long long>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
    std::wprintf(L"%ls: file %.2f MB, working set +%.2f MB, private bytes +%.2f MB\n", path,
                 Megabytes(size),
                 Megabytes(static_cast<long long>(after.WorkingSetSize) -
                           static_cast<long long>(before.WorkingSetSize)),
                 Megabytes(static_cast<long long>(after.PrivateUsage) -
                           static_cast<long long>(before.PrivateUsage)));
    return 0;
}

// Each DLL is measured in a process of its own, so that none finds another's pages loaded.
int MeasureEach(int count, wchar_t** paths) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    int status = 0;
    for (int i = 0; i < count; ++i) {
        std::wstring command = L"\"" + std::wstring(self) + L"\" --here \"" + paths[i] + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &startup, &process))
            return 1;
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        status |= code != 0;
    }
    return status;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"--here") == 0)
        return MeasureHere(argv[2]);
    if (argc < 2) {
        std::fputs("usage: kvloadcost DLL...\n", stderr);
        return 2;
    }
    return MeasureEach(argc - 1, argv + 1);
}
