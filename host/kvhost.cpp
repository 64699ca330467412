// kvhost: the command-line host. Loads korvalith.dll as the configurator does and runs,
// records or exports a structure file held by the model kernel ("zkernel.ZModel").
// Exit codes: 0 done, 1 the operation failed (the reason is printed), 2 usage error; compare
// answers 0 equal, 1 different, 2 unreadable; diff --summary 0 no drift, 1 drift, 2 trouble.
#include "kvhost_commands.h"
#include "kvhost_support.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

const char kUsage[] =
    "usage: kvhost COMMAND ARGS...\n"
    "\n"
    "  run SCENARIO --model FILE [--save FILE]\n"
    "      loads the structure FILE, runs the scenario SCENARIO against it, prints whether\n"
    "      the model changed and stores it to the --save file (default: back to FILE)\n"
    "  record --model FILE -o SCENARIO\n"
    "      records the whole structure FILE (classes, filters, modules, rights of every\n"
    "      group) as the scenario SCENARIO\n"
    "  replay SCENARIO --groups-from FILE --save OUT\n"
    "      runs the scenario SCENARIO on a model that holds only the user groups of the\n"
    "      structure FILE, prints whether the model changed and stores it to OUT\n"
    "  compare EXPECTED ACTUAL\n"
    "      compares two structure files in everything a recording carries and prints the\n"
    "      differences; exit code 0 equal, 1 different, 2 a file cannot be read\n"
    "  html MODEL -o PAGE\n"
    "      writes the HTML page of the structure file MODEL to PAGE\n"
    "  diff CURRENT TARGET -o SCENARIO\n"
    "      writes the scenario that turns the structure file CURRENT into TARGET\n"
    "  diff CURRENT TARGET [-o SCENARIO] --summary [--json]\n"
    "      prints the statements of sections 1-10 of that scenario and what it removes\n"
    "      (as UTF-8 JSON with --json); exit code 0 no drift, 1 drift, 2 trouble\n"
    "  diff CURRENT TARGET -o SCENARIO --apply [--allow-removals] [--no-backup]\n"
    "      runs the scenario on a copy of CURRENT, checks that the copy no longer\n"
    "      differs from TARGET and only then replaces CURRENT, keeping the old file as\n"
    "      CURRENT.bak; a scenario that removes anything needs --allow-removals\n"
    "  import --distr FILE --user NAME [--mark]\n"
    "      brings the work of the user's server structure NAME, made on the distribution\n"
    "      structure FILE, into the server structure \"structure.ztp\" (marked with --mark)\n"
    "      and prints the path of the import report\n"
    "  --help\n"
    "      shows this text\n"
    "\n"
    "Exit codes: 0 done, 1 the operation failed (the reason is printed), 2 usage error;\n"
    "compare and diff --summary have their own (above).\n";

// A command line that cannot be carried out as written.
struct UsageError {
    std::string message;
};

// The arguments after the command: one optional positional argument and options with values.
struct Arguments {
    std::optional<std::string> positional;
    std::optional<std::string> model, save, output, groups_from;
};

Arguments Parse(const std::vector<std::string>& args, bool allow_positional,
                const std::vector<std::string>& allowed) {
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.empty() && arg[0] == '-' && arg != "-") {
            bool known = false;
            for (const std::string& option : allowed)
                known = known || option == arg;
            if (!known)
                throw UsageError{"unknown option " + arg};
            if (i + 1 >= args.size())
                throw UsageError{"option " + arg + " needs a value"};
            std::optional<std::string>& slot = arg == "--model"         ? parsed.model
                                               : arg == "--save"        ? parsed.save
                                               : arg == "--groups-from" ? parsed.groups_from
                                                                        : parsed.output;
            if (slot)
                throw UsageError{"option " + arg + " given twice"};
            slot = args[++i];
        } else if (allow_positional && !parsed.positional) {
            parsed.positional = arg;
        } else {
            throw UsageError{"unexpected argument " + arg};
        }
    }
    return parsed;
}

std::string Required(const std::optional<std::string>& value, const char* what) {
    if (!value || value->empty())
        throw UsageError{std::string(what) + " is missing"};
    return *value;
}

int Dispatch(const std::string& command, const std::vector<std::string>& rest) {
    if (command == "run") {
        Arguments args = Parse(rest, true, {"--model", "--save"});
        std::string scenario = Required(args.positional, "the scenario file");
        std::string model = Required(args.model, "--model");
        if (args.save && args.save->empty())
            throw UsageError{"--save needs a file name"};
        kvhost::RunScenario(scenario, model, args.save.value_or(""));
    } else if (command == "record") {
        Arguments args = Parse(rest, false, {"--model", "-o"});
        kvhost::RecordStructure(Required(args.model, "--model"), Required(args.output, "-o"));
    } else if (command == "replay") {
        Arguments args = Parse(rest, true, {"--groups-from", "--save"});
        kvhost::ReplayScenario(Required(args.positional, "the scenario file"),
                               Required(args.groups_from, "--groups-from"),
                               Required(args.save, "--save"));
    } else if (command == "compare") {
        if (rest.size() != 2 || rest[0].starts_with('-') || rest[1].starts_with('-'))
            throw UsageError{"compare needs two structure files"};
        return kvhost::CompareStructures(rest[0], rest[1]);
    } else if (command == "html") {
        Arguments args = Parse(rest, true, {"-o"});
        kvhost::ExportHtml(Required(args.positional, "the structure file"),
                           Required(args.output, "-o"));
    } else if (command == "diff") {
        return kvhost::WriteDifference(rest);
    } else if (command == "import") {
        std::string problem;
        if (!kvhost::ImportUserWork(rest, problem))
            throw UsageError{problem};
    } else {
        throw UsageError{"unknown command " + command};
    }
    return kDone;
}

} // namespace

// Arguments arrive in the ANSI code page, the form in which the exports take texts.
int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return kUsageError;
    }
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h" || arg == "help") {
            std::fputs(kUsage, stdout);
            return kDone;
        }
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "kvhost: COM could not be initialised\n");
        return kFailed;
    }
    int status = kFailed;
    try {
        status = Dispatch(args[0], std::vector<std::string>(args.begin() + 1, args.end()));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "kvhost: %s\n\n%s", error.message.c_str(), kUsage);
        status = kUsageError;
    } catch (const kvhost::UsageProblem& error) {
        std::fprintf(stderr, "kvhost: %s\n\n%s", error.what(), kUsage);
        status = kUsageError;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kvhost: %s\n", error.what());
        status = kFailed;
    }
    std::fflush(stdout);
    CoUninitialize();
    return status;
}
