// LogError and LogNote sit at vtable entries 8 and 9 of the log server's interface (IUnknown's
// three counted from 0), both in the library's declaration and in the stand-in. Each side is
// checked against the numbers, not against the other, so they cannot agree on a wrong layout.
#include "platform/com_owners.h"
#include "common/outside_components.h"
#include "standins/logserver/log_recorder.h"

#include <gtest/gtest.h>

#include <wrl/client.h>

using namespace kv;

using Microsoft::WRL::ComPtr;

namespace {

constexpr int LogErrorSlot = 8;
constexpr int LogNoteSlot = 9;

using LogErrorEntry = HRESULT(STDMETHODCALLTYPE*)(void* self, BSTR module, BSTR object, BSTR method,
                                                  LONG code, BSTR message, BSTR details);
using LogNoteEntry = HRESULT(STDMETHODCALLTYPE*)(void* self, BSTR note);

template <class Entry> Entry VtableEntry(void* object, int slot) {
    return reinterpret_cast<Entry>((*static_cast<void***>(object))[slot]);
}

HRESULT CallLogError(void* object, LONG code) {
    Bstr module(L"m"), where(L"o"), method(L"f"), message(L"text"), details(L"d");
    return VtableEntry<LogErrorEntry>(object, LogErrorSlot)(
        object, module.Get(), where.Get(), method.Get(), code, message.Get(), details.Get());
}

HRESULT CallLogNote(void* object) {
    Bstr note(L"note");
    return VtableEntry<LogNoteEntry>(object, LogNoteSlot)(object, note.Get());
}

class ComApartment : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(ComApartment, StandInAnswersLogErrorAndLogNoteAtTheirSlots) {
    ComPtr<IKvLogRecorder> recorder;
    ASSERT_EQ(CoCreateInstance(CLSID_KvLogRecorder, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IKvLogRecorder, &recorder),
              S_OK)
        << "kvstandins.dll is not registered";
    recorder->Clear();
    ComPtr<IUnknown> server;
    ASSERT_EQ(CoCreateInstance(CLSID_CoLogServer, nullptr, CLSCTX_INPROC_SERVER, IID_ILogServer,
                               reinterpret_cast<void**>(server.GetAddressOf())),
              S_OK);
    EXPECT_EQ(CallLogError(server.Get(), 0x80004005), S_OK);
    EXPECT_EQ(CallLogNote(server.Get()), S_OK);
    Bstr calls;
    ASSERT_EQ(recorder->Calls(calls.Out()), S_OK);
    EXPECT_EQ(calls.View(), L"LogError|m|o|f|80004005|text|d\nLogNote|note\n");
    recorder->Clear();
}

// Records which of the library's declared methods a slot reaches.
struct RecordingLogServer : ILogServer {
    std::wstring called;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Reserved3() override { return Called(L"3"); }
    HRESULT STDMETHODCALLTYPE Reserved4() override { return Called(L"4"); }
    HRESULT STDMETHODCALLTYPE Reserved5() override { return Called(L"5"); }
    HRESULT STDMETHODCALLTYPE Reserved6() override { return Called(L"6"); }
    HRESULT STDMETHODCALLTYPE Reserved7() override { return Called(L"7"); }
    HRESULT STDMETHODCALLTYPE LogError(BSTR, BSTR, BSTR, LONG code, BSTR message, BSTR) override {
        return Called(L"LogError " + std::to_wstring(code) + L" " + message);
    }
    HRESULT STDMETHODCALLTYPE LogNote(BSTR note) override {
        return Called(L"LogNote " + std::wstring(note));
    }
    HRESULT Called(std::wstring what) {
        called = std::move(what);
        return S_OK;
    }
};

TEST(LibraryLogServerInterface, DeclaresLogErrorAndLogNoteAtTheirSlots) {
    RecordingLogServer server;
    CallLogError(static_cast<ILogServer*>(&server), 42);
    EXPECT_EQ(server.called, L"LogError 42 text");
    CallLogNote(static_cast<ILogServer*>(&server));
    EXPECT_EQ(server.called, L"LogNote note");
}

} // namespace
