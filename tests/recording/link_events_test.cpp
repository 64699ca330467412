// The kernel's link events during a recording: recorded between the surrounding fragments,
// never after the recording closed or the library was unloaded, and dispatched with their
// arguments in declaration order however the caller lays them out.
#include "support/file_dialog_driver.h"
#include "support/temporary_folder_override.h"
#include "support/fake_kernel.h"
#include "golden.h"
#include "session_fixture.h"

#include <oleauto.h>

#include <atomic>
#include <optional>
#include <thread>

namespace {

constexpr int kTrue = 1;

// The sinks advised on the class vector's link events, when the kernel can enumerate them.
std::optional<int> LinkEventConnections(IZClassVector* classes) {
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(classes->QueryInterface(IID_PPV_ARGS(&container)), S_OK);
    EXPECT_EQ(container->FindConnectionPoint(DIID_IZClassVectorEvents, &point), S_OK);
    ComPtr<IEnumConnections> connections;
    const HRESULT hr = point->EnumConnections(&connections);
    if (hr == E_NOTIMPL)
        return std::nullopt;
    EXPECT_EQ(hr, S_OK);
    int count = 0;
    CONNECTDATA data;
    while (connections && connections->Next(1, &data, nullptr) == S_OK) {
        if (data.pUnk)
            data.pUnk->Release();
        ++count;
    }
    return count;
}

// Watches the test thread for any visible window while it works; closes what it finds.
class WindowWatcher {
public:
    WindowWatcher() : thread_(GetCurrentThreadId()) {
        watcher_ = std::thread([this] {
            while (!stop_) {
                EnumThreadWindows(thread_, Found, reinterpret_cast<LPARAM>(this));
                Sleep(5);
            }
        });
    }
    ~WindowWatcher() { Stop(); }
    // True when a window was shown.
    bool Stop() {
        stop_ = true;
        if (watcher_.joinable())
            watcher_.join();
        return seen_;
    }

private:
    static BOOL CALLBACK Found(HWND window, LPARAM self) {
        if (IsWindowVisible(window)) {
            reinterpret_cast<WindowWatcher*>(self)->seen_ = true;
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        return TRUE;
    }

    DWORD thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> seen_{false};
    std::thread watcher_;
};

using LinkEventsTest = PartAndUnitSessionTest;

TEST_F(LinkEventsTest, KernelLinksAppearBetweenSurroundingFragments) {
    const std::string filter = Narrow(L"Изделия");
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    EXPECT_EQ(library_->Constraint(filter.c_str(), Narrow(L"Деталь").c_str(), 0), kTrue);
    AddLink(L"Деталь", L"Узел");
    RemoveLink(L"Деталь", L"Узел");
    EXPECT_EQ(library_->Constraint(filter.c_str(), Narrow(L"Узел").c_str(), 1), kTrue);

    const std::string path = OutputPath("events.vbs");
    ASSERT_EQ(library_->End(owner_, path.c_str(), model_.Get()), kTrue);
    EXPECT_EQ(ReadOutput(path), ScenarioWith(Golden("link_events")));
}

TEST_F(LinkEventsTest, NothingIsRecordedAfterEnd) {
    ComPtr<IZClassVector> classes = Classes();
    const ULONG references = RefCount(classes.Get());
    ASSERT_EQ(library_->ClassLink("A", "B", 0), 0); // the library has started up
    const HRESULT canUnload = library_->CanUnloadNow();
    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    ASSERT_EQ(library_->End(owner_, OutputPath("first.vbs").c_str(), model_.Get()), kTrue);
    // The receiver let go of the class vector and of every object of its own.
    EXPECT_EQ(RefCount(classes.Get()), references);
    EXPECT_EQ(library_->CanUnloadNow(), canUnload);
    AddLink(L"Деталь", L"Узел");
    EXPECT_TRUE(HasLink(L"Деталь", L"Узел"));

    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    const std::string path = OutputPath("second.vbs");
    ASSERT_EQ(library_->End(owner_, path.c_str(), model_.Get()), kTrue);
    EXPECT_EQ(ReadOutput(path), Golden("empty"));

    const std::optional<int> connections = LinkEventConnections(classes.Get());
    if (!connections)
        GTEST_SKIP() << "the kernel stand-in cannot enumerate connections";
    EXPECT_EQ(*connections, 0);
}

TEST_F(LinkEventsTest, UnloadWithOpenRecordingWritesShowsAndLeavesNothing) {
    const std::wstring documentsScenario = DocumentsFolder() + L"\\scenery.vbs";
    // Tests beside this one apply scenarios through the shared temporary folder's file.
    const TemporaryFolderOverride ownTemporaryFolder(folder_);
    wchar_t temp[MAX_PATH + 1];
    ASSERT_NE(GetTempPathW(MAX_PATH + 1, temp), 0u);
    const std::wstring temporaryScenario = std::wstring(temp) + L"temp_vbs.vbs";
    DeleteFileW(documentsScenario.c_str());
    DeleteFileW(temporaryScenario.c_str());

    ASSERT_EQ(library_->Start(model_.Get()), kTrue);
    ASSERT_EQ(library_->ClassLink("A", "B", 0), kTrue);
    if (const std::optional<int> connections = LinkEventConnections(Classes().Get())) {
        EXPECT_EQ(*connections, 1);
    }

    WindowWatcher watcher;
    library_->Free();
    EXPECT_FALSE(watcher.Stop()) << "a window was shown while the library unloaded";
    EXPECT_FALSE(FileExists(documentsScenario));
    EXPECT_FALSE(FileExists(temporaryScenario));

    // The sink left with the library: a link made now reaches nothing (and does not crash).
    AddLink(L"Деталь", L"Узел");
    EXPECT_TRUE(HasLink(L"Деталь", L"Узел"));
    const std::optional<int> connections = LinkEventConnections(Classes().Get());
    if (!connections)
        GTEST_SKIP() << "the kernel stand-in cannot enumerate connections";
    EXPECT_EQ(*connections, 0);
}

// Raises events on the library's sink directly, as any connection point may lay them out.
class EventDispatchTest : public LinkEventsTest {
protected:
    HRESULT Raise(DISPID id, std::vector<VARIANT> arguments, std::vector<DISPID> named = {}) {
        ComPtr<IDispatch> sink;
        EXPECT_EQ(vector_->sink.As(&sink), S_OK);
        DISPPARAMS params = {arguments.data(), named.empty() ? nullptr : named.data(),
                             static_cast<UINT>(arguments.size()), static_cast<UINT>(named.size())};
        EXCEPINFO exception = {};
        const HRESULT hr = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                        nullptr, &exception, nullptr);
        lastDescription_ = exception.bstrDescription ? exception.bstrDescription : L"";
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrHelpFile);
        return hr;
    }

    static VARIANT Object(IZClass* cls) {
        VARIANT value;
        V_VT(&value) = VT_DISPATCH;
        V_DISPATCH(&value) = cls;
        return value;
    }

    ComPtr<FakeClassVector> vector_ = FakeClassVector::Create();
    std::wstring lastDescription_;
};

TEST_F(EventDispatchTest, ArgumentsArriveInDeclarationOrder) {
    ComPtr<FakeModel> model = FakeModel::Create(S_OK, vector_.Get());
    ASSERT_EQ(library_->Start(model.Get()), kTrue);
    ASSERT_EQ(vector_->advises, 1);
    ASSERT_TRUE(vector_->sink);
    ComPtr<IUnknown> events;
    EXPECT_EQ(vector_->sink->QueryInterface(DIID_IZClassVectorEvents,
                                            reinterpret_cast<void**>(events.GetAddressOf())),
              S_OK);

    ComPtr<IZClass> parent = FindClass(L"Деталь");
    ComPtr<IZClass> child = FindClass(L"Узел");
    const VARIANT p = Object(parent.Get());
    const VARIANT c = Object(child.Get());
    // Positional: the last argument comes first.
    EXPECT_EQ(Raise(1, {c, p}), S_OK);
    // Named, by argument number: clsParent is 0, clsChild 1.
    EXPECT_EQ(Raise(2, {p, c}, {0, 1}), S_OK);
    // Mixed: named ones first, then the positional ones.
    EXPECT_EQ(Raise(1, {c, p}, {1}), S_OK);
    // Other DISPIDs are not events of ours.
    EXPECT_EQ(Raise(9, {c, p}), S_OK);
    // An argument that is no class is an error raised inside the event call.
    VARIANT number;
    V_VT(&number) = VT_I4;
    V_I4(&number) = 5;
    EXPECT_EQ(Raise(1, {c, number}), DISP_E_EXCEPTION);
    EXPECT_NE(lastDescription_, L"");

    const std::string path = OutputPath("dispatch.vbs");
    ASSERT_EQ(library_->End(owner_, path.c_str(), model_.Get()), kTrue);
    EXPECT_EQ(ReadOutput(path), ScenarioWith(Golden("event_arguments")));
    EXPECT_EQ(vector_->unadvises, 1);
    EXPECT_FALSE(vector_->sink);
}

} // namespace
