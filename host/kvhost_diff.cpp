// kvhost diff CURRENT TARGET: the difference scenario from one structure file to another, written
// inside a recording on CURRENT's model as the configurator writes it (-o); its summary
// (--summary, --json); or its verified apply to CURRENT (--apply).
#include "kvhost_commands.h"

#include "difference_apply.h"
#include "apply_files.h"
#include "difference_report.h"
#include "kvhost_support.h"
#include "model_outputs.h"

#include <cstdio>

namespace kvhost {
namespace {

constexpr int kNoDrift = 0;
constexpr int kDrift = 1;
constexpr int kTrouble = 2;

DiffArguments ParseDiffArguments(const std::vector<std::string>& arguments) {
    DiffArguments parsed;
    std::vector<std::string> files;
    bool output_given = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--apply") {
            parsed.apply = true;
        } else if (argument == "--summary") {
            parsed.summary = true;
        } else if (argument == "--json") {
            parsed.summary = parsed.json = true;
        } else if (argument == "--allow-removals") {
            parsed.allow_removals = true;
        } else if (argument == "--no-backup") {
            parsed.backup = false;
        } else if (argument == "-o") {
            if (output_given)
                throw UsageProblem("option -o given twice");
            if (i + 1 >= arguments.size() || arguments[i + 1].empty())
                throw UsageProblem("option -o needs a file name");
            parsed.scenario = arguments[++i];
            output_given = true;
        } else if (!argument.empty() && argument[0] == '-') {
            throw UsageProblem("unknown option " + argument);
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() != 2 || files[0].empty() || files[1].empty())
        throw UsageProblem("diff needs the current and the target structure file");
    if (parsed.summary && parsed.apply)
        throw UsageProblem("--summary and --json report a difference; --apply applies it: "
                           "give one of them");
    if (!parsed.apply && (parsed.allow_removals || !parsed.backup))
        throw UsageProblem("--allow-removals and --no-backup go with --apply");
    if (!output_given && !parsed.summary)
        throw UsageProblem("-o is missing");
    parsed.current = files[0];
    parsed.target = files[1];
    return parsed;
}

// The summary on standard output; exit code 0 without drift in sections 1-10, 1 with it, 2
// when the difference could not be written or read.
int ReportDifference(const DiffArguments& args) {
    try {
        std::optional<TemporaryFile> scratch;
        std::string scenario = args.scenario;
        if (scenario.empty())
            scenario = scratch.emplace("", "kvd").path();
        const DifferenceSummary summary =
            WriteSummarisedDifference(args.current, args.target, scenario);
        if (args.json)
            std::fputs(SummaryJson(summary).c_str(), stdout);
        else
            std::fputs(SummaryText(summary, ReportName).c_str(), stdout);
        return summary.Drifts() ? kDrift : kNoDrift;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kvhost: %s\n", error.what());
        return kTrouble;
    }
}

} // namespace

int WriteDifference(const std::vector<std::string>& arguments) {
    const DiffArguments args = ParseDiffArguments(arguments);
    if (args.summary)
        return ReportDifference(args);
    if (args.apply)
        return ApplyDifference(args);
    WriteDifferenceScenario(LoadModel(args.current).Get(), args.target, args.scenario);
    std::printf("written %s\n", args.scenario.c_str());
    return 0;
}

} // namespace kvhost
