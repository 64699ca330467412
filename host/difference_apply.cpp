#include "difference_apply.h"

#include "apply_files.h"
#include "difference_report.h"
#include "kvhost_support.h"
#include "model_scenarios.h"

#include <io.h>

#include <cstdio>
#include <cstdlib>

namespace kvhost {
namespace {

constexpr int kStored = 0;
constexpr int kNotStored = 1;

// One line per phase on standard error, for a person watching a terminal; scripts reading the
// output get none. Through ./kv the program's standard error is a pipe, so kv says whether its
// own is a terminal (KVHOST_PROGRESS=1).
class Progress {
public:
    Progress() : shown_(_isatty(_fileno(stderr)) || std::getenv("KVHOST_PROGRESS")) {}
    void Done(const char* phase) const {
        if (shown_) {
            std::fprintf(stderr, "kvhost diff: %s\n", phase);
            std::fflush(stderr);
        }
    }

private:
    bool shown_;
};

// What still differs between the stored result and the target: the summary of a second
// difference, written to a temporary file that goes with it.
DifferenceSummary DifferenceLeft(const std::string& result, const std::string& target) {
    TemporaryFile scenario("", "kvv");
    return WriteSummarisedDifference(result, target, scenario.path());
}

int LeftAsItWas(const DiffArguments& args) {
    std::printf("%s left as it was\n", args.current.c_str());
    return kNotStored;
}

} // namespace

int ApplyDifference(const DiffArguments& args) {
    const Progress progress;
    try {
        const DifferenceSummary planned =
            WriteSummarisedDifference(args.current, args.target, args.scenario);
        std::printf("written %s\n", args.scenario.c_str());
        progress.Done("difference written");

        if (!planned.removals.empty() && !args.allow_removals) {
            std::printf("refused: the scenario removes the following; --allow-removals "
                        "applies it\n%s",
                        RemovalsText(planned.removals, ReportName).c_str());
            return LeftAsItWas(args);
        }

        // Written beside the current file, so that putting it in place is a rename.
        TemporaryFile result(FolderOf(args.current), "kvr");
        {
            ComPtr<IZModel> copy = LoadModel(args.current);
            const bool changed = ExecuteScenario(copy.Get(), args.scenario);
            Check(copy->zrSaveModel(Text(Widen(result.path())), nullptr), "storing the result");
            std::printf("%s\n", changed ? "model changed" : "model unchanged");
        }
        progress.Done("run on a copy");

        // Scenarios pass over a statement that fails, so only a second difference tells
        // whether the run did everything.
        const DifferenceSummary left = DifferenceLeft(result.path(), args.target);
        if (left.Drifts()) {
            std::printf("not verified: after the run the structure still differs from %s\n%s",
                        args.target.c_str(), SummaryText(left, ReportName).c_str());
            return LeftAsItWas(args);
        }
        progress.Done("verified");

        const std::string backup = args.backup ? args.current + ".bak" : "";
        ReplaceStructureFile(args.current, result.path(), backup);
        result.Release();
        progress.Done("stored");
        std::printf("stored %s\n", args.current.c_str());
        if (!backup.empty())
            std::printf("the old structure kept as %s\n", backup.c_str());
        return kStored;
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "kvhost: %s\n", error.what());
        return LeftAsItWas(args);
    }
}

} // namespace kvhost
