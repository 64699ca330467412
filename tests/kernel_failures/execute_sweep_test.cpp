// scriptExecute of a scenario that edits the structure (the difference from the small structure
// to its edit), as kvhost runs one, meets a failing kernel call at every point: the process
// lives, no window stays, and a failure the scenario does not pass over reaches the host with
// its message. A program of its own: see the note on DllCanUnloadNow below.
#include "sweep_fixture.h"

#include "model_outputs.h"
#include "model_scenarios.h"

namespace {

using kvtest::FailureKind;

using ExecuteSweep = KernelFailureSweep;

TEST_F(ExecuteSweep, EveryFailingCallEndsTheRunWithAMessageOrIsPassedOver) {
    model_ = kvhost::LoadModel(StructurePath("small.ztp"));
    const std::string scenario = OutputPath("edits.vbs");
    kvhost::WriteDifferenceScenario(model_.Get(), StructurePath("edited.ztp"), scenario);

    // Each run edits a fresh copy of the small structure.
    ComPtr<IZModel> edited;
    const auto execute = [&](std::wstring& error) {
        return HostFlow(error, [&] { kvhost::ExecuteScenario(edited.Get(), scenario); });
    };
    const auto fresh = [&] { edited = kvhost::LoadModel(StructurePath("small.ztp")); };

    fresh();
    std::wstring unused;
    const kvtest::OperationCalls calls =
        kvtest::CountCalls(*kernel_, [&] { ASSERT_TRUE(execute(unused)) << Narrow(unused); });
    EXPECT_EQ(kvtest::MissingStructureInterfaces(calls), "");
    std::printf("the edits scenario makes %ld kernel calls\n", calls.calls);

    kvtest::ForEveryFailure(calls.calls, [&](long nth, FailureKind kind) {
        fresh();
        ExpectShownAndNoWindowLeft(RunFailing(nth, kind, execute), nth, kind);
    });
    // DllCanUnloadNow is not asked here: Wine 8's Script Control keeps a reference to what a
    // scenario is given or creates (docs/platform-notes.md), so the library stays in use after
    // any run, failed or not. The other sweeps ask it.
}

} // namespace
