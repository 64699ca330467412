// GetModelNames sits at vtable entry 5 of the synchronisation manager's interface (IUnknown's
// three counted from 0), both in the library's declaration and in the stand-in. Each side is
// checked against the number, not against the other, so they cannot agree on a wrong layout.
#include "import_fixture.h"

#include "helper/syncro_manager.h"
#include "standins/syncmanager/syncro_manager_object.h"

namespace {

constexpr int GetModelNamesSlot = 5;

using GetModelNamesEntry = HRESULT(STDMETHODCALLTYPE*)(void* self, VARIANT* names);

HRESULT CallGetModelNames(void* object, VARIANT* names) {
    auto entry =
        reinterpret_cast<GetModelNamesEntry>((*static_cast<void***>(object))[GetModelNamesSlot]);
    return entry(object, names);
}

using SyncroManagerTest = ServerStoreTest;

// The stand-in lists the structure files of the server store, sorted, and nothing else.
TEST_F(SyncroManagerTest, StandInAnswersGetModelNamesAtItsSlot) {
    PutInStore(L"rights_b.ztp", L"b.ztp");
    PutInStore(L"rights_a.ztp", L"a.ztp");
    WriteFile(StorePath(L"notes.txt"), "not a structure");
    ComPtr<IUnknown> manager;
    ASSERT_EQ(CoCreateInstance(CLSID_CoZSyncroManager, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IZSyncroManager,
                               reinterpret_cast<void**>(manager.GetAddressOf())),
              S_OK)
        << "kvstandins.dll is not registered";

    VARIANT names;
    VariantInit(&names);
    ASSERT_EQ(CallGetModelNames(manager.Get(), &names), S_OK);
    ASSERT_EQ(V_VT(&names), VT_ARRAY | VT_VARIANT);
    LONG low = -1, high = -1;
    SafeArrayGetLBound(V_ARRAY(&names), 1, &low);
    SafeArrayGetUBound(V_ARRAY(&names), 1, &high);
    std::vector<std::wstring> listed;
    for (LONG index = low; index <= high; ++index) {
        VARIANT element;
        VariantInit(&element);
        ASSERT_EQ(SafeArrayGetElement(V_ARRAY(&names), &index, &element), S_OK);
        ASSERT_EQ(V_VT(&element), VT_BSTR);
        listed.emplace_back(V_BSTR(&element));
        VariantClear(&element);
    }
    VariantClear(&names);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(listed, (std::vector<std::wstring>{L"a.ztp", L"b.ztp"}));
}

// Records which of the library's declared methods a slot reaches.
struct RecordingSyncroManager : IZSyncroManager {
    const wchar_t* called = L"nothing";
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Reserved3() override { return Called(L"3"); }
    HRESULT STDMETHODCALLTYPE Reserved4() override { return Called(L"4"); }
    HRESULT STDMETHODCALLTYPE GetModelNames(VARIANT*) override { return Called(L"GetModelNames"); }
    HRESULT Called(const wchar_t* what) {
        called = what;
        return S_OK;
    }
};

TEST(LibrarySyncroManagerInterface, DeclaresGetModelNamesAtItsSlot) {
    RecordingSyncroManager manager;
    VARIANT names;
    VariantInit(&names);
    CallGetModelNames(static_cast<IZSyncroManager*>(&manager), &names);
    EXPECT_STREQ(manager.called, L"GetModelNames");
}

} // namespace
