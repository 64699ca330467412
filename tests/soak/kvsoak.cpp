// kvsoak: the record-replay fidelity check and the difference convergence check on fresh seeds
// for a given time (./kv soak SECONDS). Each seed gives a structure of a soak shape, which is
// recorded and replayed, and a pair (the structure and a target made by random edits of a share
// of its classes drawn from the seed), which is converged. A seed that fails is added to the seed
// list, where the fidelity and convergence tests check it from then on. Exit codes: 0 nothing
// differed, 1 a check found differences, 2 usage error.
#include "convergence_check.h"
#include "kvhost_support.h"
#include "platform/text_conversion.h"
#include "record_replay_check.h"
#include "seed_list.h"
#include "soak_shapes.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: kvsoak SECONDS [--seed-list FILE] [--first-seed N] [--work FOLDER]\n"
    "\n"
    "  SECONDS       how long to check fresh seeds; the seed under way is finished\n"
    "  --seed-list   the list that failing seeds are added to (default: none, only shown)\n"
    "  --first-seed  the first seed, then one more each time (default: drawn from the clock)\n"
    "  --work        the folder for the checks' files; a failing check's files are kept in\n"
    "                FOLDER\\failed\\CHECK-SEED (default %TEMP%\\kvsoak)\n";

// The checks' lines are UTF-8; the program writes the ANSI code page, as every program here.
std::string Shown(const std::string& utf8) {
    return kv::ShownAnsiFromWide(kv::WideFromUtf8(utf8));
}

// The start of a UTF-8 line for the seed list's comment, cut between characters.
std::string Beginning(const std::string& utf8) {
    constexpr std::size_t kMostBytes = 100;
    if (utf8.size() <= kMostBytes)
        return utf8;
    std::size_t end = kMostBytes;
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
        --end;
    return utf8.substr(0, end) + "...";
}

// Differences shown for a failing check; the rest are counted.
constexpr std::size_t kShownDifferences = 10;

struct UsageError {
    std::string message;
};

struct Options {
    unsigned long seconds = 0;
    std::string seed_list;
    std::optional<std::uint32_t> first_seed;
    std::string work;
};

unsigned long Number(const std::string& text, unsigned long most, const char* what) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != '\0' || value > most)
        throw UsageError{std::string(what) + " is not a number from 0 to " + std::to_string(most) +
                         ": " + text};
    return static_cast<unsigned long>(value);
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    std::vector<std::string> plain;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                throw UsageError{argument + " needs a value"};
            return argv[++i];
        };
        if (argument == "--help" || argument == "-h")
            throw UsageError{};
        if (argument == "--seed-list")
            options.seed_list = value();
        else if (argument == "--first-seed")
            options.first_seed =
                static_cast<std::uint32_t>(Number(value(), UINT32_MAX, "the seed"));
        else if (argument == "--work")
            options.work = value();
        else if (argument.rfind("--", 0) == 0)
            throw UsageError{"unknown option " + argument};
        else
            plain.push_back(argument);
    }
    if (plain.size() != 1)
        throw UsageError{"give the seconds to run, once"};
    options.seconds = Number(plain[0], 7 * 24 * 3600, "the seconds");
    if (options.seconds == 0)
        throw UsageError{"the seconds must be more than 0"};
    return options;
}

std::string WithBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder;
}

std::string TemporaryFolder() {
    char temp[MAX_PATH];
    const DWORD length = GetTempPathA(sizeof temp, temp);
    return WithBackslash(std::string(temp, length)) + "kvsoak\\";
}

// Deletes the files of a folder (not its subfolders) and the folder when it is left empty.
void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

std::uint32_t ClockSeed() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks = (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    return static_cast<std::uint32_t>(ticks ^ (ticks >> 32) ^
                                      (std::uint64_t{GetCurrentProcessId()} * 2654435761u));
}

std::string Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}

class Soak {
public:
    explicit Soak(const Options& options)
        : options_(options),
          work_(WithBackslash(options.work.empty() ? TemporaryFolder() : options.work)) {
        CreateDirectoryA(work_.c_str(), nullptr);
        for (const char* check : {"fidelity", "convergence"}) {
            RemoveFolder(work_ + check + "\\");
            if (!CreateDirectoryA((work_ + check + "\\").c_str(), nullptr))
                throw kvhost::HostError("cannot make the folder " + work_ + check);
        }
    }
    ~Soak() {
        for (const char* check : {"fidelity", "convergence"})
            RemoveFolder(work_ + check + "\\");
        RemoveDirectoryA(work_.c_str()); // kept when failed checks left their files
    }

    // Runs seeds until the time is up; answers the exit code.
    int Run() {
        const std::uint32_t first = options_.first_seed ? *options_.first_seed : ClockSeed();
        std::printf("kvsoak: %lu seconds from seed %lu; seed list: %s\n", options_.seconds,
                    static_cast<unsigned long>(first),
                    options_.seed_list.empty() ? "none" : options_.seed_list.c_str());
        std::fflush(stdout);
        const ULONGLONG end = GetTickCount64() + ULONGLONG{options_.seconds} * 1000;
        for (std::uint32_t seed = first; GetTickCount64() < end; ++seed)
            CheckSeed(seed);
        std::printf("structures checked: %lu, pairs checked: %lu, differences found: %lu\n",
                    structures_, pairs_, differences_);
        if (failing_seeds_ > 0)
            std::printf("failing seeds: %lu\n", failing_seeds_);
        std::fflush(stdout);
        return differences_ == 0 ? 0 : 1;
    }

private:
    void CheckSeed(std::uint32_t seed) {
        const kvtest::SoakDraw draw = kvtest::DrawForSeed(seed);
        const zk::Structure a = kvtest::SoakStructure(seed, draw.shape);
        // Said before the checks run, so that a seed that brings the program down is known.
        std::printf("seed %lu (%s, %zu %s, %d%% edited): ", static_cast<unsigned long>(seed),
                    draw.shape.c_str(), a.ClassCount(), a.ClassCount() == 1 ? "class" : "classes",
                    draw.percent);
        std::fflush(stdout);

        under_way_ = {kvtest::SoakCheck::Fidelity, seed, draw.shape, 0};
        const kvtest::RecordReplayOutcome fidelity =
            kvtest::RecordAndReplay(a, work_ + "fidelity\\");
        ++structures_;
        std::vector<std::string> fidelityLines = fidelity.differences;

        under_way_ = {kvtest::SoakCheck::Convergence, seed, draw.shape, draw.percent};
        const kvtest::ConvergenceOutcome convergence =
            kvtest::Converge(a, kvtest::SoakTarget(a, seed, draw.percent), work_ + "convergence\\");
        ++pairs_;
        under_way_.reset();
        std::vector<std::string> convergenceLines;
        for (const std::string& line : convergence.differences)
            convergenceLines.push_back("result: " + line);
        for (const std::string& line : convergence.secondStatements)
            convergenceLines.push_back("a second difference writes: " + line);

        std::printf("fidelity %s, convergence %s\n", Verdict(fidelityLines).c_str(),
                    Verdict(convergenceLines).c_str());
        Report({kvtest::SoakCheck::Fidelity, seed, draw.shape, 0}, fidelityLines);
        Report({kvtest::SoakCheck::Convergence, seed, draw.shape, draw.percent}, convergenceLines);
        if (!fidelityLines.empty() || !convergenceLines.empty())
            ++failing_seeds_;
        std::fflush(stdout);
    }

public:
    // A crash of the program (in the library, as a rule) during a check: the seed is added to
    // the list as a failing one, since the run ends here.
    void Crashed(DWORD code) {
        std::printf("crashed (exception 0x%08lx)\n", static_cast<unsigned long>(code));
        if (under_way_)
            Report(*under_way_, {"the program crashed (exception " + Hex(code) + ")"});
        std::fflush(stdout);
    }

private:
    static std::string Hex(DWORD code) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(code));
        return text;
    }

    static std::string Verdict(const std::vector<std::string>& differences) {
        if (differences.empty())
            return "ok";
        return std::to_string(differences.size()) +
               (differences.size() == 1 ? " difference" : " differences");
    }

    // A failing check: its first differences, its files kept, its seed added to the list.
    void Report(const kvtest::SoakSeed& seed, const std::vector<std::string>& differences) {
        if (differences.empty())
            return;
        differences_ += differences.size();
        const char* check = kvtest::CheckName(seed.check);
        for (std::size_t i = 0; i < differences.size() && i < kShownDifferences; ++i)
            std::printf("  %s: %s\n", check, Shown(differences[i]).c_str());
        if (differences.size() > kShownDifferences)
            std::printf("  %s: ... and %zu more\n", check, differences.size() - kShownDifferences);

        const std::string failed = work_ + "failed\\";
        const std::string kept = failed + check + "-" + std::to_string(seed.seed);
        CreateDirectoryA(failed.c_str(), nullptr);
        RemoveFolder(kept + "\\");
        if (MoveFileA((work_ + check).c_str(), kept.c_str()))
            std::printf("  files kept in %s\n", kept.c_str());
        CreateDirectoryA((work_ + check).c_str(), nullptr);

        if (options_.seed_list.empty()) {
            std::printf("  seed list line: %s\n", kvtest::SeedLine(seed).c_str());
            return;
        }
        try {
            const bool added =
                kvtest::AppendSeed(options_.seed_list, seed,
                                   "kvsoak " + Today() + ": " + Verdict(differences) + "; " +
                                       Beginning(differences[0]));
            std::printf("  %s the seed list: %s\n", added ? "added to" : "already in",
                        kvtest::SeedLine(seed).c_str());
        } catch (const std::exception& error) {
            std::printf("  not added to the seed list (%s): %s\n", error.what(),
                        kvtest::SeedLine(seed).c_str());
        }
    }

    const Options options_;
    const std::string work_;
    unsigned long structures_ = 0;
    unsigned long pairs_ = 0;
    unsigned long differences_ = 0;
    unsigned long failing_seeds_ = 0;
    std::optional<kvtest::SoakSeed> under_way_; // the check running now
};

// The run, for the crash filter; set on the one thread that runs the checks.
Soak* g_running = nullptr;

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
    if (g_running)
        g_running->Crashed(exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = ParseOptions(argc, argv);
    } catch (const UsageError& error) {
        if (error.message.empty()) {
            std::printf("%s", kUsage);
            return 0;
        }
        std::fprintf(stderr, "kvsoak: %s\n%s", error.message.c_str(), kUsage);
        return 2;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "kvsoak: COM cannot be initialised\n");
        return 1;
    }
    int status = 1;
    try {
        // Loaded for the whole run, as the application keeps it; the checks' own loads only
        // count up.
        kvhost::Library library;
        Soak soak(options);
        g_running = &soak;
        SetUnhandledExceptionFilter(ReportCrash);
        status = soak.Run();
        g_running = nullptr;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kvsoak: %s\n", error.what());
    }
    CoUninitialize();
    return status;
}
