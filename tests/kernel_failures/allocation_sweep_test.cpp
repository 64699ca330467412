// A test build of korvalith.dll whose Nth allocation fails: the operations meet an exhausted
// heap at every allocation they make. An export answers false and a COM method E_OUTOFMEMORY,
// each with error information; a recording saves only whole fragments; no file, page or server
// structure is left half written.
#include "failure_sweep.h"
#include "helper/import_fixture.h"
#include "kvhost_support.h"
#include "support/host_setting.h"
#include "support/script_control.h"
#include "support/wide_text.h"

#include <algorithm>
#include <cstdio>

namespace {

using kvtest::Narrow;
using kvtest::Widen;

// Runs past this many allocations are spread evenly over the operation's allocations.
constexpr long kMostRuns = 1500;

class AllocationSweep : public ServerStoreTest {
protected:
    void SetUp() override {
        ServerStoreTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        helper_.Reset();
        library_.emplace(L"korvalith_allocation_failures.dll");
        ASSERT_TRUE(library_->Loaded()) << "the test build of korvalith.dll is missing";
        setFailure_ = library_->ByName<SetFailure>("kvSetAllocationFailure");
        allocations_ = library_->ByName<Count>("kvAllocationCount");
        ASSERT_TRUE(setFailure_ && allocations_);
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(library_->GetClassObject(CLSID_ZScriptHelper, IID_PPV_ARGS(&factory)), S_OK);
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&helper_)), S_OK);
        owner_ = kvtest::CreateOwnerWindow(L"allocation sweep owner");
        answerer_.emplace();
    }
    void TearDown() override {
        answerer_.reset();
        if (setFailure_)
            setFailure_(0);
        if (owner_)
            DestroyWindow(owner_);
        ServerStoreTest::TearDown();
    }

    std::string Path(const wchar_t* name) {
        const std::wstring path = root_ + L"\\" + name;
        RemoveAtEnd(path);
        return Narrow(path);
    }
    ComPtr<IZModel> Small() { return kvhost::LoadModel(Narrow(FixturePath(L"small.ztp"))); }

    // Runs the operation once counting, then failing each allocation in turn (or a spread of
    // them); `check` sees every run. A failure must come with error information.
    void Sweep(const char* operation, const std::function<void()>& reset,
               const std::function<bool(std::wstring& error)>& run,
               const std::function<void(long nth, bool failed)>& check) {
        reset();
        setFailure_(-1);
        std::wstring error;
        ASSERT_TRUE(run(error)) << operation << ": " << Narrow(error) << Narrow(TakeErrorDescription());
        const long count = allocations_();
        setFailure_(0);
        ASSERT_GT(count, 0) << operation << " made no allocation of the library";
        const long step = (count + kMostRuns - 1) / kMostRuns;
        std::printf("%s: %ld allocations, every %ld failed in turn\n", operation, count, step);
        for (long nth = 1; nth <= count; nth += step) {
            reset();
            SetErrorInfo(0, nullptr);
            setFailure_(nth);
            std::wstring error;
            const bool succeeded = run(error);
            setFailure_(0);
            if (!succeeded && error.empty())
                error = TakeErrorDescription();
            if (!succeeded) {
                EXPECT_TRUE(error != L"" && error != L"<no error information>")
                    << operation << ", allocation " << nth << ": no error information";
            }
            EXPECT_TRUE(kvtest::VisibleWindowsBesides(owner_).empty())
                << operation << ", allocation " << nth << ": a window is left open";
            check(nth, !succeeded);
        }
    }

    // A COM method's status: success, or E_OUTOFMEMORY.
    bool OutOfMemoryOrSuccess(HRESULT hr, const char* operation) {
        if (FAILED(hr)) {
            EXPECT_EQ(hr, E_OUTOFMEMORY) << operation;
        }
        return SUCCEEDED(hr);
    }

    HWND owner_ = nullptr;

private:
    using SetFailure = void(__stdcall*)(long);
    using Count = long(__stdcall*)();
    SetFailure setFailure_ = nullptr;
    Count allocations_ = nullptr;
    std::optional<kvtest::DialogAnswerer> answerer_;
};

bool Compiles(const std::string& scenario) {
    std::wstring error;
    return kvtest::ScenarioCompiles(scenario, error);
}

TEST_F(AllocationSweep, RecordingSavesOnlyWholeFragments) {
    const ComPtr<IZModel> model = Small();
    ComPtr<IZClassVector> classes;
    kvtest::Check(model->zrGetClassVector(&classes), "class vector");
    ComPtr<IZFilterVector> filters;
    kvtest::Check(classes->get_zrFilterVector(&filters), "filters");
    std::vector<ComPtr<IZClass>> each;
    for (const wchar_t* name : {L"Item", L"Part", L"Tool"}) {
        ComPtr<IZClass> cls;
        kvtest::Check(classes->zrLocate(Text(name), &cls), "zrLocate");
        each.push_back(cls);
    }
    const std::vector<std::function<int()>> fragments = {
        [&] { return library_->Class(each[0].Get(), "", 0, 1, 0, 0); },
        [&] { return library_->Class(each[1].Get(), "", 0, 1, 0, 0); },
        [&] { return library_->Class(each[2].Get(), "", 0, 1, 0, 0); },
        [&] { return library_->Filter(filters.Get(), "Products", 0, 0); },
        [&] { return library_->Module(classes.Get(), "Common", 0); },
        [&] { return library_->Security(model.Get(), "designers"); },
        [&] { return library_->Security(model.Get(), "viewers"); },
    };
    const std::string file = Path(L"recording.vbs");
    // The recording of the first `count` fragments, saved as a host saves after a failure.
    const auto record = [&](std::size_t count) {
        if (library_->Start(model.Get()) != 1)
            return false;
        for (std::size_t k = 0; k < count; ++k)
            if (fragments[k]() != 1) {
                library_->End(owner_, file.c_str(), nullptr);
                return false;
            }
        return library_->End(owner_, file.c_str(), nullptr) == 1;
    };
    std::vector<std::string> prefixes;
    for (std::size_t count = 0; count <= fragments.size(); ++count) {
        ASSERT_TRUE(record(count));
        prefixes.push_back(FileBytes(Widen(file)));
    }
    std::set<std::string> compiled;
    Sweep(
        "a whole recording", [&] { DeleteFileA(file.c_str()); },
        [&](std::wstring&) { return record(fragments.size()); },
        [&](long nth, bool) {
            if (!FileExists(Widen(file)))
                return;
            const std::string saved = FileBytes(Widen(file));
            EXPECT_NE(std::find(prefixes.begin(), prefixes.end(), saved), prefixes.end())
                << "allocation " << nth << ": the saved recording is not made of whole fragments";
            if (compiled.insert(saved).second) {
                EXPECT_TRUE(Compiles(saved)) << "allocation " << nth;
            }
        });
}

TEST_F(AllocationSweep, DifferenceAndPageAreWholeOrNotWritten) {
    const ComPtr<IZModel> model = Small();
    const std::string target = Narrow(FixturePath(L"edited.ztp"));
    const std::string scenario = Path(L"difference.vbs");
    const std::string discarded = Path(L"discarded.vbs");
    const auto difference = [&](std::wstring& error) {
        if (library_->Start(model.Get()) != 1)
            return false;
        if (library_->DifferenceFile(model.Get(), target.c_str()) != 1) {
            error = TakeErrorDescription();
            library_->End(owner_, discarded.c_str(), nullptr); // closes the recording
            return false;
        }
        return library_->End(owner_, scenario.c_str(), nullptr) == 1;
    };
    std::wstring unused;
    ASSERT_TRUE(difference(unused));
    const std::string whole = FileBytes(Widen(scenario));
    Sweep(
        "the difference to a file", [&] { DeleteFileA(scenario.c_str()); }, difference,
        [&](long nth, bool) {
            if (FileExists(Widen(scenario))) {
                EXPECT_EQ(FileBytes(Widen(scenario)), whole) << "allocation " << nth;
            }
        });

    const std::string page = Path(L"structure.html");
    const auto write = [&](std::wstring&) {
        IZModel* variable = model.Get();
        return library_->SaveAsHTMLFile()(&variable, page.c_str()) == 1;
    };
    ASSERT_TRUE(write(unused));
    const std::string wholePage = FileBytes(Widen(page));
    Sweep(
        "the page to a file", [&] { kvtest::WriteFileBytes(Widen(page), "old page"); }, write,
        [&](long nth, bool failed) {
            const std::string written = FileBytes(Widen(page));
            EXPECT_TRUE(written == wholePage || (failed && written == "old page"))
                << "allocation " << nth << ": " << written.size() << " bytes";
        });
}

TEST_F(AllocationSweep, ImportAndRightsCopyStoreWholeOrNothing) {
    const auto putImport = [&] {
        PutInStore(L"small.ztp", L"structure.ztp");
        PutInStore(L"edited.ztp", L"user.ztp");
    };
    putImport();
    const std::string before = FileBytes(StorePath(L"structure.ztp"));
    const std::wstring distribution = FixturePath(L"small.ztp");
    const auto import = [&](std::wstring&) {
        std::wstring report;
        const HRESULT hr = Import(distribution, L"user.ztp", false, report);
        if (report != L"<null>" && !report.empty())
            DeleteFileW(report.c_str());
        return OutOfMemoryOrSuccess(hr, "zsImportAppendedToSvr");
    };
    std::wstring unused;
    ASSERT_TRUE(import(unused));
    const std::string imported = FileBytes(StorePath(L"structure.ztp"));
    Sweep("the import", putImport, import, [&](long nth, bool failed) {
        const std::string server = FileBytes(StorePath(L"structure.ztp"));
        if (failed) {
            EXPECT_TRUE(server == before || server == imported) << "allocation " << nth;
        }
    });

    const auto putRights = [&] {
        PutInStore(L"small.ztp", L"a.ztp");
        PutInStore(L"small.ztp", L"b.ztp");
    };
    putRights();
    const std::string rightsBefore[] = {FileBytes(StorePath(L"a.ztp")),
                                        FileBytes(StorePath(L"b.ztp"))};
    const auto copy = [&](std::wstring&) {
        return OutOfMemoryOrSuccess(
            helper_->zsCopyModelRights(Text(L"designers"), Text(L"viewers")), "zsCopyModelRights");
    };
    ASSERT_TRUE(copy(unused));
    const std::string copied[] = {FileBytes(StorePath(L"a.ztp")), FileBytes(StorePath(L"b.ztp"))};
    Sweep("the rights copy", putRights, copy, [&](long nth, bool) {
        const wchar_t* const names[] = {L"a.ztp", L"b.ztp"};
        for (int index = 0; index < 2; ++index) {
            const std::string stored = FileBytes(StorePath(names[index]));
            EXPECT_TRUE(stored == rightsBefore[index] || stored == copied[index])
                << "allocation " << nth << ": a structure is stored half copied";
        }
    });
}

TEST_F(AllocationSweep, ScenarioRunFailsWithAMessageOrCompletes) {
    // The edits: the difference from the small structure to its edit.
    const std::string scenario = Path(L"edits.vbs");
    {
        const ComPtr<IZModel> model = Small();
        ASSERT_EQ(library_->Start(model.Get()), 1);
        ASSERT_EQ(library_->DifferenceFile(model.Get(), Narrow(FixturePath(L"edited.ztp")).c_str()),
                  1);
        ASSERT_EQ(library_->End(owner_, scenario.c_str(), nullptr), 1);
    }
    ComPtr<IZModel> model;
    Sweep(
        "scriptExecute", [&] { model = Small(); },
        [&](std::wstring&) { return library_->Execute(owner_, model.Get(), scenario.c_str()) == 1; },
        [](long, bool) {});
}

} // namespace
