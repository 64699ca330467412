#include "sweep_fixture.h"

#include "support/script_control.h"

using kvtest::FailureKind;
using kvtest::Where;

void KernelFailureSweep::SetUp() {
    SessionTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    kernel_.emplace();
    answerer_.emplace();
}

void KernelFailureSweep::TearDown() {
    answerer_.reset();
    kernel_.reset();
    SessionTest::TearDown();
}

std::string KernelFailureSweep::StructurePath(const char* name) {
    return std::string(KV_SWEEP_STRUCTURES) + "\\" + name;
}

RunOutcome KernelFailureSweep::RunFailing(long nth, FailureKind kind,
                                          const std::function<bool(std::wstring& error)>& operation) {
    SetErrorInfo(0, nullptr);
    RunOutcome outcome;
    outcome.failed = !kernel_->WhileFailing(nth, kind, [&] { return operation(outcome.error); });
    if (outcome.failed && outcome.error.empty())
        outcome.error = TakeErrorDescription();
    return outcome;
}

void KernelFailureSweep::ExpectShownAndNoWindowLeft(const RunOutcome& outcome, long nth,
                                                    FailureKind kind) {
    kvtest::ExpectFailureShown(outcome.failed, outcome.error, nth, kind, owner_);
}

void KernelFailureSweep::ExpectCompiles(const std::string& scenario, long nth, FailureKind kind) {
    if (!compiled_.insert(scenario).second)
        return;
    std::wstring error;
    EXPECT_TRUE(kvtest::ScenarioCompiles(scenario, error))
        << Where(nth, kind) << ": the saved scenario does not compile: " << Narrow(error) << "\n"
        << scenario;
}
