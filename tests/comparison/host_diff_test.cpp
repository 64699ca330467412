// kvhost diff as scripts use it: the scenario file it writes, --apply storing the converged
// structure back into CURRENT, and its exit codes.
#include "support/process.h"
#include "recording/golden.h"
#include "convergence_check.h"
#include "recording/session_fixture.h"
#include "difference_files.h"

#include <gtest/gtest.h>

namespace {

using kvtest::ProcessOutcome;
using kvtest::RunHost;

constexpr unsigned long kDone = 0;
constexpr unsigned long kFailed = 1;
constexpr unsigned long kUsageError = 2;

std::string Shown(const ProcessOutcome& outcome) {
    return "exit " + std::to_string(outcome.exit_code) + ", output:\n" + outcome.output;
}

class HostDiffTest : public SessionTest {
protected:
    // A copy of a fixture in the private folder, which the host may change.
    std::string Copy(const char* fixture) {
        const std::string copy = OutputPath(fixture);
        EXPECT_TRUE(CopyFileA(FixturePath(fixture).c_str(), copy.c_str(), FALSE)) << fixture;
        return copy;
    }
};

TEST_F(HostDiffTest, WritesTheDifferenceScenario) {
    const std::string scenario = OutputPath("difference.vbs");
    const ProcessOutcome outcome =
        RunHost({"diff", FixturePath("current.ztp"), FixturePath("target.ztp"), "-o", scenario});
    ASSERT_EQ(outcome.exit_code, kDone) << Shown(outcome);
    EXPECT_EQ(ReadOutput(scenario), ScenarioWith(ExpectedText("difference")));
}

TEST_F(HostDiffTest, ApplyStoresTheTargetIntoCurrent) {
    const std::string current = Copy("current.ztp");
    const ProcessOutcome outcome = RunHost(
        {"diff", current, FixturePath("target.ztp"), "-o", OutputPath("apply.vbs"), "--apply",
         "--allow-removals"});
    ASSERT_EQ(outcome.exit_code, kDone) << Shown(outcome);
    EXPECT_NE(outcome.output.find("model changed"), std::string::npos) << Shown(outcome);

    // Nothing is left to do but the rights.
    const std::string second = OutputPath("second.vbs");
    const ProcessOutcome again =
        RunHost({"diff", current, FixturePath("target.ztp"), "-o", second});
    ASSERT_EQ(again.exit_code, kDone) << Shown(again);
    EXPECT_EQ(kvtest::StatementsBeforeRights(ReadOutput(second)), std::vector<std::string>{});
}

TEST_F(HostDiffTest, FailuresExitWithOneAndSayWhy) {
    const std::string scenario = OutputPath("failed.vbs");
    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        const char* said;
    };
    const Case cases[] = {
        {"missing current",
         {"diff", OutputPath("none.ztp"), FixturePath("target.ztp"), "-o", scenario},
         "none.ztp"},
        {"malformed target",
         {"diff", FixturePath("current.ztp"), FixturePath("malformed.ztp"), "-o", scenario},
         "scriptDifferenceFile"},
        {"scenario in a missing folder",
         {"diff", FixturePath("current.ztp"), FixturePath("target.ztp"), "-o",
          OutputPath("no folder\\x.vbs")},
         "cannot write"},
    };
    for (const Case& c : cases) {
        const ProcessOutcome outcome = RunHost(c.arguments);
        EXPECT_EQ(outcome.exit_code, kFailed) << c.what << ": " << Shown(outcome);
        EXPECT_NE(outcome.output.find(c.said), std::string::npos)
            << c.what << ": " << Shown(outcome);
        EXPECT_FALSE(FileExists(Widen(scenario))) << c.what;
    }
}

TEST(HostDiffUsage, MalformedCommandLinesExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"diff"},
        {"diff", "a.ztp", "-o", "x.vbs"},
        {"diff", "a.ztp", "b.ztp"},
        {"diff", "a.ztp", "b.ztp", "c.ztp", "-o", "x.vbs"},
        {"diff", "a.ztp", "b.ztp", "-o"},
        {"diff", "a.ztp", "b.ztp", "-o", "x.vbs", "-o", "y.vbs"},
        {"diff", "a.ztp", "b.ztp", "-o", "x.vbs", "--save", "y.ztp"},
    };
    for (const std::vector<std::string>& arguments : cases) {
        const ProcessOutcome outcome = RunHost(arguments);
        EXPECT_EQ(outcome.exit_code, kUsageError)
            << arguments.size() << " arguments: " << Shown(outcome);
        EXPECT_NE(outcome.output.find("usage: kvhost"), std::string::npos) << Shown(outcome);
    }
}

} // namespace
