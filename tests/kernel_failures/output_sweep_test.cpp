// The difference scenario and the HTML page written to a file, as kvhost writes them, meet a
// failing kernel call at every point: the host gets a message, and the file is absent, the old
// file unchanged, or the whole result. The difference is taken back whole, so the recording it
// was written into still saves and compiles.
#include "sweep_fixture.h"

#include "model_outputs.h"

namespace {

using kvtest::FailureKind;

constexpr char kOldBytes[] = "the file as it was before\r\n";

// The first line of a file's text, to name it in a message without the whole of it.
std::string FirstLine(const std::string& bytes) {
    return bytes.substr(0, bytes.find('\n'));
}

class OutputSweep : public KernelFailureSweep {
protected:
    // Runs the flow failing at every call. Odd runs find an old file in the target's place,
    // even ones none. After a failed run the target is absent, the old file, or `unbroken`; a
    // run that passed a failure over (a lookup read as "not found") writes a whole file.
    void SweepOutput(const std::string& target, long calls, const std::string& unbroken,
                     const std::function<bool(const std::string&)>& whole,
                     const std::function<bool(std::wstring& error)>& flow,
                     const std::function<void(const RunOutcome&)>& afterRun = {}) {
        kvtest::ForEveryFailure(calls, [&](long nth, FailureKind kind) {
            const bool hadOld = nth % 2 == 1;
            DeleteFileA(target.c_str());
            if (hadOld)
                kvtest::WriteFileBytes(Widen(target), kOldBytes);
            const RunOutcome outcome = RunFailing(nth, kind, flow);
            if (afterRun)
                afterRun(outcome);
            ExpectShownAndNoWindowLeft(outcome, nth, kind);
            if (!FileExists(Widen(target))) {
                EXPECT_FALSE(hadOld) << Where(nth, kind) << ": the old file is gone";
                EXPECT_TRUE(outcome.failed) << Where(nth, kind) << ": nothing written";
                return;
            }
            const std::string written = ReadOutput(target);
            if (outcome.failed) {
                EXPECT_TRUE(written == unbroken || (hadOld && written == kOldBytes))
                    << Where(nth, kind) << ": a failed run left a changed file, "
                    << written.size() << " bytes: " << FirstLine(written);
            } else {
                EXPECT_TRUE(whole(written)) << Where(nth, kind) << ": a file that is not whole, "
                                            << written.size() << " bytes";
            }
        });
    }
};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST_F(OutputSweep, DifferenceToAFileIsWholeOrNotWritten) {
    model_ = kvhost::LoadModel(StructurePath("small.ztp"));
    const std::string target = StructurePath("edited.ztp");
    const std::string scenario = OutputPath("difference.vbs");
    const auto difference = [&](std::wstring& error) {
        return HostFlow(error,
                        [&] { kvhost::WriteDifferenceScenario(model_.Get(), target, scenario); });
    };
    std::wstring unused;
    const kvtest::OperationCalls calls = kvtest::CountCalls(
        *kernel_, [&] { ASSERT_TRUE(difference(unused)) << Narrow(unused); });
    const std::string whole = ReadOutput(scenario);
    EXPECT_EQ(kvtest::MissingStructureInterfaces(calls), "");
    std::printf("the difference of the small structures makes %ld kernel calls\n", calls.calls);

    // What the host saves when it closes a recording whose difference failed: the recording
    // without any of the difference.
    const std::string discarded = OutputPath("discarded.vbs");
    ASSERT_EQ(library_->Start(model_.Get()), 1);
    ASSERT_EQ(library_->End(owner_, discarded.c_str(), nullptr), 1);
    const std::string emptyRecording = ReadOutput(discarded);

    // A whole scenario compiles and ends as every recording ends.
    const std::string end = emptyRecording.substr(emptyRecording.rfind("\r\n'   mdl.zrSaveModel"));
    const auto wholeScenario = [&](const std::string& text) {
        ExpectCompiles(text, 0, FailureKind::NoObject);
        return EndsWith(text, end);
    };
    SweepOutput(scenario, calls.calls, whole, wholeScenario, difference,
                [&](const RunOutcome& outcome) {
        if (!outcome.failed)
            return;
        // The recording the failed difference was written into is still open, or never was.
        DeleteFileA(discarded.c_str());
        if (library_->End(owner_, discarded.c_str(), nullptr) == 1) {
            const std::string saved = ReadOutput(discarded);
            EXPECT_EQ(saved, emptyRecording) << "a failed difference left part of itself";
            ExpectCompiles(saved, 0, FailureKind::Error);
        }
    });
    EXPECT_EQ(library_->CanUnloadNow(), S_OK);
}

TEST_F(OutputSweep, PageToAFileIsWholeOrNotWritten) {
    model_ = kvhost::LoadModel(StructurePath("small.ztp"));
    const std::string page = OutputPath("structure.html");
    const auto write = [&](std::wstring& error) {
        return HostFlow(error, [&] { kvhost::WriteStructurePage(model_.Get(), page); });
    };
    std::wstring unused;
    const kvtest::OperationCalls calls =
        kvtest::CountCalls(*kernel_, [&] { ASSERT_TRUE(write(unused)) << Narrow(unused); });
    const std::string whole = ReadOutput(page);
    EXPECT_EQ(kvtest::MissingInterfaces(calls, {{"IZModel", IID_IZModel},
                                                {"IZClassVector", IID_IZClassVector},
                                                {"IZClass", IID_IZClass},
                                                {"IZClassValue", IID_IZClassValue},
                                                {"IZFilterVector", IID_IZFilterVector}}),
              "");
    std::printf("the page of the small structure makes %ld kernel calls\n", calls.calls);

    SweepOutput(page, calls.calls, whole,
                [](const std::string& text) { return EndsWith(text, "</body>\r\n\r\n</html>\r\n"); },
                write);
    EXPECT_EQ(library_->CanUnloadNow(), S_OK);
}

} // namespace
