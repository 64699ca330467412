#include "sweep_fixture.h"

#include "support/script_control.h"

using kvtest::FailureKind;

std::string Where(long nth, FailureKind kind) {
    return "call " + std::to_string(nth) + " failing with " + kvtest::KindName(kind);
}

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

void KernelFailureSweep::Load(IZModel* model, const std::string& path) {
    BSTR text = SysAllocString(Widen(path).c_str());
    const HRESULT hr = model->zrLoadModel(text, nullptr, 2);
    SysFreeString(text);
    kvtest::Check(hr, "loading a structure");
}

RunOutcome KernelFailureSweep::RunFailing(long nth, FailureKind kind,
                                          const std::function<bool(std::wstring& error)>& operation) {
    SetErrorInfo(0, nullptr);
    kernel_->FailAt(nth, kind);
    RunOutcome outcome;
    outcome.failed = !operation(outcome.error);
    kernel_->Off();
    if (outcome.failed && outcome.error.empty())
        outcome.error = TakeErrorDescription();
    return outcome;
}

void KernelFailureSweep::ExpectShownAndNoWindowLeft(const RunOutcome& outcome, long nth,
                                                    FailureKind kind) {
    if (outcome.failed) {
        EXPECT_NE(outcome.error, L"") << Where(nth, kind) << ": no message";
        if (kind == FailureKind::Error) {
            EXPECT_NE(outcome.error.find(kvtest::kStandInFailureText), std::wstring::npos)
                << Where(nth, kind) << ": " << Narrow(outcome.error);
        }
    }
    const auto windows = kvtest::VisibleWindowsBesides(owner_);
    EXPECT_TRUE(windows.empty()) << Where(nth, kind) << ": a window is left open: "
                                 << Narrow(windows.empty() ? L"" : windows.front());
}

void KernelFailureSweep::ExpectCompiles(const std::string& scenario, long nth, FailureKind kind) {
    if (!compiled_.insert(scenario).second)
        return;
    std::wstring error;
    EXPECT_TRUE(kvtest::ScenarioCompiles(scenario, error))
        << Where(nth, kind) << ": the saved scenario does not compile: " << Narrow(error) << "\n"
        << scenario;
}
