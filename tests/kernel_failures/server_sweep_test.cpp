// The import of a user's work into the server structure (zsImportAppendedToSvr) and the rights
// copy over the server's structures (zsCopyModelRights) meet a failing kernel call at every
// point: the method fails with error information that names the failure, or passes it over;
// the server structure is unchanged or the whole result, never half imported; the user's
// structure is never written; of the rights copy's structures each is as it was or wholly
// copied.
#include "failure_sweep.h"
#include "helper/import_fixture.h"

#include <cstdio>
#include <optional>

namespace {

using kvtest::FailureKind;
using kvtest::Where;

class ServerSweep : public ServerStoreTest {
protected:
    void SetUp() override {
        ServerStoreTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        kernel_.emplace();
        answerer_.emplace();
    }
    void TearDown() override {
        answerer_.reset();
        kernel_.reset();
        ServerStoreTest::TearDown();
    }

    // The helper's method with the switch failing the nth call: its status, with the error
    // information's text when it failed.
    HRESULT CallFailing(long nth, FailureKind kind, const std::function<HRESULT()>& call,
                        std::wstring& error) {
        SetErrorInfo(0, nullptr);
        const HRESULT hr = kernel_->WhileFailing(nth, kind, call);
        error = FAILED(hr) ? TakeErrorDescription() : L"";
        return hr;
    }

    void ExpectShown(HRESULT hr, const std::wstring& error, long nth, FailureKind kind) {
        const bool failed = FAILED(hr);
        kvtest::ExpectFailureShown(failed, error == L"<no error information>" ? L"" : error, nth,
                                   kind, nullptr);
    }

    // Once the helper is released, nothing of the library is in use.
    void ExpectLibraryUnused() {
        helper_.Reset();
        EXPECT_EQ(library_->CanUnloadNow(), S_OK);
    }

    std::optional<kvtest::KernelCallSwitch> kernel_;

private:
    std::optional<kvtest::DialogAnswerer> answerer_;
};

TEST_F(ServerSweep, ImportLeavesTheServerUnchangedOrWhollyImported) {
    const auto putStore = [&] {
        PutInStore(L"small.ztp", L"structure.ztp");
        PutInStore(L"edited.ztp", L"user.ztp");
    };
    const std::wstring distribution = FixturePath(L"small.ztp");
    const auto import = [&] {
        std::wstring report;
        const HRESULT hr = Import(distribution, L"user.ztp", false, report);
        if (report != L"<null>" && !report.empty())
            DeleteFileW(report.c_str());
        return hr;
    };
    putStore();
    const std::string before = FileBytes(StorePath(L"structure.ztp"));
    const std::string user = FileBytes(StorePath(L"user.ztp"));
    const kvtest::OperationCalls calls = kvtest::CountCalls(*kernel_, [&] {
        ASSERT_EQ(import(), S_OK) << testing::PrintToString(TakeErrorDescription());
    });
    const std::string imported = FileBytes(StorePath(L"structure.ztp"));
    ASSERT_NE(imported, before) << "the import changed nothing: the sweep would show nothing";
    EXPECT_EQ(kvtest::MissingInterfaces(calls, {{"IZModel", IID_IZModel},
                                                {"IZClassVector", IID_IZClassVector},
                                                {"IZClass", IID_IZClass},
                                                {"IZClassValue", IID_IZClassValue},
                                                {"IZFilterVector", IID_IZFilterVector},
                                                {"IZLocalSecurity", IID_IZLocalSecurity},
                                                {"IZEventGroup", IID_IZEventGroup}}),
              "");
    std::printf("the import of the small structures makes %ld kernel calls\n", calls.calls);

    kvtest::ForEveryFailure(calls.calls, [&](long nth, FailureKind kind) {
        putStore();
        std::wstring error;
        const HRESULT hr = CallFailing(nth, kind, import, error);
        ExpectShown(hr, error, nth, kind);
        const std::string server = FileBytes(StorePath(L"structure.ztp"));
        if (FAILED(hr)) {
            EXPECT_TRUE(server == before || server == imported)
                << Where(nth, kind) << ": a failed import stored part of itself";
        }
        EXPECT_EQ(FileBytes(StorePath(L"user.ztp")), user) << Where(nth, kind);
    });
    ExpectLibraryUnused();
}

TEST_F(ServerSweep, RightsCopyStoresEachStructureWholeOrNotAtAll) {
    const auto putStore = [&] {
        PutInStore(L"small.ztp", L"a.ztp");
        PutInStore(L"small.ztp", L"b.ztp");
    };
    const auto copy = [&] {
        return helper_->zsCopyModelRights(Text(L"designers"), Text(L"viewers"));
    };
    putStore();
    const std::string before[] = {FileBytes(StorePath(L"a.ztp")), FileBytes(StorePath(L"b.ztp"))};
    const kvtest::OperationCalls calls = kvtest::CountCalls(*kernel_, [&] {
        ASSERT_EQ(copy(), S_OK) << testing::PrintToString(TakeErrorDescription());
    });
    const std::string copied[] = {FileBytes(StorePath(L"a.ztp")), FileBytes(StorePath(L"b.ztp"))};
    ASSERT_NE(copied[0], before[0]) << "the copy changed nothing: the sweep would show nothing";
    EXPECT_EQ(kvtest::MissingInterfaces(calls, {{"IZModel", IID_IZModel},
                                                {"IZClassVector", IID_IZClassVector},
                                                {"IZClass", IID_IZClass},
                                                {"IZClassValue", IID_IZClassValue},
                                                {"IZLocalSecurity", IID_IZLocalSecurity}}),
              "");
    std::printf("the rights copy over two small structures makes %ld kernel calls\n",
                calls.calls);

    kvtest::ForEveryFailure(calls.calls, [&](long nth, FailureKind kind) {
        putStore();
        std::wstring error;
        const HRESULT hr = CallFailing(nth, kind, copy, error);
        ExpectShown(hr, error, nth, kind);
        const wchar_t* const names[] = {L"a.ztp", L"b.ztp"};
        bool stored[2] = {};
        for (int index = 0; index < 2; ++index) {
            const std::string bytes = FileBytes(StorePath(names[index]));
            EXPECT_TRUE(bytes == before[index] || bytes == copied[index])
                << Where(nth, kind) << ": a structure is stored half copied";
            stored[index] = bytes == copied[index];
        }
        if (SUCCEEDED(hr)) {
            EXPECT_TRUE(stored[0] && stored[1])
                << Where(nth, kind) << ": the copy succeeded and left a structure uncopied";
        } else {
            // The structures are copied in the store's order: a later one is never stored
            // while an earlier one is not.
            EXPECT_FALSE(!stored[0] && stored[1]) << Where(nth, kind);
        }
    });
    ExpectLibraryUnused();
}

} // namespace
