// A whole recording, as kvhost records a structure, meets a failing kernel call at every point:
// the host gets a message, and the recording, saved after the failure, compiles and holds
// exactly the whole fragments written before it.
#include "sweep_fixture.h"

#include "model_scenarios.h"

#include <algorithm>
#include <vector>

namespace {

using kvtest::FailureKind;

constexpr char kProgressLine[] = "if IsObject(InstInit) then InstInit.ProgressBarItem.StepIt\r\n";

class RecordingSweep : public KernelFailureSweep {
protected:
    // The recordings of the first k fragments of the host's order, for every k: base classes
    // first (Item, Part, Tool), the filter, the module, the groups. A failed recording saves
    // one of these.
    std::vector<std::string> WholeFragmentPrefixes() {
        ComPtr<IZClassVector> classes;
        kvtest::Check(model_->zrGetClassVector(&classes), "class vector");
        ComPtr<IZFilterVector> filters;
        kvtest::Check(classes->get_zrFilterVector(&filters), "filters");
        const std::vector<std::function<int()>> fragments = {
            [&] { return ClassFragment(classes.Get(), L"Item"); },
            [&] { return ClassFragment(classes.Get(), L"Part"); },
            [&] { return ClassFragment(classes.Get(), L"Tool"); },
            [&] { return library_->Filter(filters.Get(), "Products", 0, 0); },
            [&] { return library_->Module(classes.Get(), "Common", 0); },
            [&] { return library_->Security(model_.Get(), "designers"); },
            [&] { return library_->Security(model_.Get(), "viewers"); },
        };
        std::vector<std::string> prefixes;
        for (std::size_t count = 0; count <= fragments.size(); ++count) {
            const std::string file = OutputPath("prefix.vbs");
            EXPECT_EQ(library_->Start(model_.Get()), 1);
            for (std::size_t k = 0; k < count; ++k)
                EXPECT_EQ(fragments[k](), 1);
            EXPECT_EQ(library_->End(owner_, file.c_str(), nullptr), 1);
            prefixes.push_back(ReadOutput(file));
            DeleteFileA(file.c_str());
        }
        // A module whose text cannot be read is recorded as its progress line alone.
        const std::string& beforeModule = prefixes[4];
        const std::size_t moduleStart =
            std::mismatch(beforeModule.begin(), beforeModule.end(), prefixes[5].begin()).first -
            beforeModule.begin();
        prefixes.push_back(std::string(beforeModule).insert(moduleStart, kProgressLine));
        return prefixes;
    }

private:
    int ClassFragment(IZClassVector* classes, const wchar_t* name) {
        ComPtr<IZClass> cls;
        BSTR text = SysAllocString(name);
        kvtest::Check(classes->zrLocate(text, &cls), "zrLocate");
        SysFreeString(text);
        return library_->Class(cls.Get(), "", 0, 1, 0, 0);
    }
};

TEST_F(RecordingSweep, EveryFailingCallLeavesAScenarioOfWholeFragments) {
    model_ = kvhost::LoadModel(StructurePath("small.ztp"));
    const std::string file = OutputPath("recording.vbs");
    const auto record = [&](std::wstring& error) {
        return HostFlow(error, [&] { kvhost::RecordWholeStructure(model_.Get(), file); });
    };

    std::wstring unused;
    const kvtest::OperationCalls calls =
        kvtest::CountCalls(*kernel_, [&] { ASSERT_TRUE(record(unused)) << Narrow(unused); });
    const std::string whole = ReadOutput(file);
    EXPECT_EQ(kvtest::MissingStructureInterfaces(calls), "");
    const std::vector<std::string> prefixes = WholeFragmentPrefixes();
    ASSERT_EQ(prefixes[7], whole) << "the host's order is not the one the prefixes follow";
    std::printf("a whole recording of the small structure makes %ld kernel calls\n", calls.calls);

    kvtest::ForEveryFailure(calls.calls, [&](long nth, FailureKind kind) {
        DeleteFileA(file.c_str());
        RunOutcome outcome = RunFailing(nth, kind, record);
        // The host would save what the recording holds: the whole fragments before the failure.
        if (outcome.failed)
            library_->End(owner_, file.c_str(), nullptr);
        ExpectShownAndNoWindowLeft(outcome, nth, kind);
        if (!FileExists(Widen(file)))
            return;
        const std::string saved = ReadOutput(file);
        ExpectCompiles(saved, nth, kind);
        if (outcome.failed) {
            EXPECT_NE(std::find(prefixes.begin(), prefixes.end(), saved), prefixes.end())
                << Where(nth, kind) << ": the saved recording is not made of whole fragments\n"
                << saved;
        }
    });
    EXPECT_EQ(library_->CanUnloadNow(), S_OK);
}

} // namespace
