// kvbench: how recording, the difference, the HTML export, the import and the replay of a
// scenario grow with the structure. Each operation at each size runs in a process of its own
// (this program again, with --child), so that its peak memory is its own, and one run of it and
// one of its floor each in another process for their memory (--memory); the parent makes the
// inputs, collects one line from each child and prints the table and the verdict on the
// targets. Exit codes: 0 every operation ran (the last line says whether the targets hold),
// 1 an operation failed, 2 usage error.
#include "bench_inputs.h"
#include "bench_operations.h"
#include "bench_table.h"
#include "kvhost_support.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace kvbench {
namespace {

const char kUsage[] =
    "usage: kvbench [--sizes N,N,...] [--replay-sizes N,N,...] [--operations NAME,...]\n"
    "               [--repeat N] [--work FOLDER] [--keep]\n"
    "\n"
    "  --sizes          classes of the structures (default 500,1000,2000,4000)\n"
    "  --replay-sizes   classes of the replayed structures (default 1,2,4,8,100,200,400)\n"
    "  --operations     some of record, difference, html, import, replay (default all)\n"
    "  --repeat         runs of each operation and of its floor; the best counts (default 3)\n"
    "  --work           the folder for the generated files (default %TEMP%\\kvbench)\n"
    "  --keep           keeps the generated files\n";

struct Options {
    std::vector<int> sizes = {500, 1000, 2000, 4000};
    std::vector<int> replay_sizes = {1, 2, 4, 8, 100, 200, 400};
    std::vector<std::string> operations = OperationNames();
    int repeat = 3;
    std::wstring work;
    bool keep = false;
    std::string child_operation; // set in a child process
    int child_size = 0;
    std::string child_memory; // "operation" or "floor" in a child that measures memory
};

struct UsageError {
    std::string message;
};

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        if (comma > start)
            items.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return items;
}

int Number(const std::string& text) {
    try {
        std::size_t used = 0;
        const int value = std::stoi(text, &used);
        if (used == text.size() && value > 0)
            return value;
    } catch (const std::exception&) {
    }
    throw UsageError{"not a positive number: " + text};
}

std::vector<int> Numbers(const std::string& text) {
    std::vector<int> numbers;
    for (const std::string& item : SplitList(text))
        numbers.push_back(Number(item));
    if (numbers.empty())
        throw UsageError{"an empty list of sizes"};
    return numbers;
}

Options Parse(const std::vector<std::string>& args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError{"option " + arg + " needs a value"};
            return args[++i];
        };
        if (arg == "--sizes") {
            options.sizes = Numbers(value());
        } else if (arg == "--replay-sizes") {
            options.replay_sizes = Numbers(value());
        } else if (arg == "--operations") {
            options.operations = SplitList(value());
            for (const std::string& name : options.operations)
                if (std::find(OperationNames().begin(), OperationNames().end(), name) ==
                    OperationNames().end())
                    throw UsageError{"unknown operation " + name};
        } else if (arg == "--repeat") {
            options.repeat = Number(value());
        } else if (arg == "--work") {
            options.work = kvhost::Widen(value());
        } else if (arg == "--keep") {
            options.keep = true;
        } else if (arg == "--child") {
            options.child_operation = value();
            options.child_size = Number(value());
        } else if (arg == "--memory") {
            options.child_memory = value();
            if (options.child_memory != "operation" && options.child_memory != "floor")
                throw UsageError{"--memory takes operation or floor"};
        } else {
            throw UsageError{"unexpected argument " + arg};
        }
    }
    return options;
}

std::wstring ResultFile(const Inputs& inputs, const std::string& operation, int size,
                        const std::string& memory) {
    const std::string kind = memory.empty() ? "" : "-" + memory;
    return inputs.folder() +
           kvhost::Widen("result-" + operation + "-" + std::to_string(size) + kind + ".txt");
}

// This program again, for one operation at one size (or, with memory named, one run of it or of
// its floor); its measurement comes back in a file.
Measurement RunChild(const Options& options, const Inputs& inputs, const std::string& operation,
                     int size, const std::string& memory = "") {
    wchar_t program[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    // The folder without its last backslash, which would escape the closing quote.
    const std::wstring folder = inputs.folder().substr(0, inputs.folder().size() - 1);
    std::wstring command = L"\"" + std::wstring(program) + L"\" --child " +
                           kvhost::Widen(operation) + L" " + std::to_wstring(size) + L" --repeat " +
                           std::to_wstring(options.repeat) + L" --work \"" + folder + L"\"";
    if (!memory.empty())
        command += L" --memory " + kvhost::Widen(memory);
    const std::wstring result_file = ResultFile(inputs, operation, size, memory);
    DeleteFileW(result_file.c_str());

    Measurement failed;
    failed.operation = operation;
    failed.size = size;
    failed.failed = true;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        failed.note =
            "the child process could not start (error " + std::to_string(GetLastError()) + ")";
        return failed;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    std::ifstream file(result_file.c_str());
    std::string line;
    std::getline(file, line);
    file.close();
    DeleteFileW(result_file.c_str());
    if (std::optional<Measurement> m = ParseResultLine(line))
        return *m;
    failed.note = "the child process ended with code " + std::to_string(code) + " and no result";
    return failed;
}

int RunChildSide(const Options& options) {
    Inputs inputs(options.work);
    const Measurement m =
        options.child_memory.empty()
            ? RunOperation(inputs, options.child_operation, options.child_size, options.repeat)
            : MeasureMemory(inputs, options.child_operation, options.child_size,
                            options.child_memory == "floor" ? MemoryRun::Floor
                                                            : MemoryRun::Operation);
    std::ofstream file(
        ResultFile(inputs, options.child_operation, options.child_size, options.child_memory)
            .c_str());
    file << ResultLine(m) << '\n';
    return file ? 0 : 1;
}

// The operation's own memory: its run's growth beyond its floor's; the models' memory: what
// the inputs hold and what the floor's run loads.
void AddOwnMemory(Measurement& m, const Measurement& operation_run, const Measurement& floor_run) {
    for (const Measurement* run : {&operation_run, &floor_run}) {
        if (run->failed) {
            m.failed = true;
            m.note = "measuring memory: " + run->note;
            return;
        }
    }
    m.own_mb = operation_run.own_mb - floor_run.own_mb;
    m.models_mb = floor_run.models_mb + floor_run.own_mb;
}

int RunParentSide(const Options& options) {
    Inputs inputs(options.work);
    std::vector<Measurement> results;
    std::printf("%s\n", TableHeader().c_str());
    std::fflush(stdout);
    bool any_failed = false;
    for (const std::string& operation : OperationNames()) {
        if (std::find(options.operations.begin(), options.operations.end(), operation) ==
            options.operations.end())
            continue;
        for (const int size : AtReplaySizes(operation) ? options.replay_sizes : options.sizes) {
            Measurement m;
            try {
                inputs.Prepare(operation, size);
                m = RunChild(options, inputs, operation, size);
                if (!m.failed && !m.refused)
                    AddOwnMemory(m, RunChild(options, inputs, operation, size, "operation"),
                                 RunChild(options, inputs, operation, size, "floor"));
            } catch (const std::exception& error) {
                m.operation = operation;
                m.size = size;
                m.failed = true;
                m.note = std::string("preparing the inputs failed: ") + error.what();
            }
            any_failed = any_failed || m.failed;
            std::printf("%s\n", TableLine(m).c_str());
            std::fflush(stdout);
            results.push_back(m);
        }
    }
    if (!options.keep)
        inputs.RemoveMade();
    const Verdict verdict = CheckTargets(results);
    for (const std::string& miss : verdict.misses)
        std::printf("missed: %s\n", miss.c_str());
    std::printf("%s\n",
                verdict.holds ? "targets: every target holds" : "targets: not every target holds");
    return any_failed ? 1 : 0;
}

} // namespace
} // namespace kvbench

int main(int argc, char** argv) {
    using namespace kvbench;
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    Options options;
    try {
        options = Parse(args);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "kvbench: %s\n\n%s", error.message.c_str(), kUsage);
        return 2;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "kvbench: COM could not be initialised\n");
        return 1;
    }
    int status = 1;
    try {
        status = options.child_operation.empty() ? RunParentSide(options) : RunChildSide(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kvbench: %s\n", error.what());
    }
    CoUninitialize();
    return status;
}
