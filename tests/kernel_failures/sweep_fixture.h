// A host's setting for the sweeps (see recording/session_fixture.h), the failure switch, the
// small structures the operations work on, and the checks that hold for every failing run.
#pragma once

#include "failure_sweep.h"
#include "recording/session_fixture.h"

#include <optional>
#include <set>
#include <stdexcept>
#include <string>

// What one run of an operation answered.
struct RunOutcome {
    bool failed = false;
    std::wstring error; // the error information's text (or the host's message) when it failed
};

class KernelFailureSweep : public SessionTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The ANSI path of a structure of the sweeps: 3 classes (one derived), 2 attributes each,
    // 1 filter, 1 module, 2 groups and an event group ("small.ztp"), and an edit of it
    // ("edited.ztp").
    static std::string StructurePath(const char* name);

    // Fails the nth kernel call of `operation` as `kind`: what it answered, the switch off
    // again. The operation answers whether it succeeded and may give its own message; else the
    // thread's error information is taken.
    RunOutcome RunFailing(long nth, kvtest::FailureKind kind,
                          const std::function<bool(std::wstring& error)>& operation);

    // The checks of every run: a failure shows with a message (an error's carries the
    // stand-in's text), and no window of the test's thread is left open.
    void ExpectShownAndNoWindowLeft(const RunOutcome& outcome, long nth, kvtest::FailureKind kind);
    // Whether the scenario compiles in the Script Control; each text is compiled once.
    void ExpectCompiles(const std::string& scenario, long nth, kvtest::FailureKind kind);

    std::optional<kvtest::KernelCallSwitch> kernel_;

private:
    std::set<std::string> compiled_;
    std::optional<kvtest::DialogAnswerer> answerer_;
};

using kvtest::Where;

// Runs one of kvhost's flows: whether it succeeded, its HostError's message as the run's.
template <class Flow> bool HostFlow(std::wstring& error, Flow flow) {
    try {
        flow();
        return true;
    } catch (const std::runtime_error& failure) {
        error = Widen(failure.what());
        return false;
    }
}
