// The class and attribute generators through the exports, called as the host calls them:
// korvalith.dll loaded with LoadLibrary, entry points by ordinal, stdcall, interface arguments
// by reference; a whole recording from scriptStart to the scenario file that scriptEnd writes.
#include "golden.h"
#include "support/error_info.h"
#include "support/korvalith_library.h"
#include "support/stand_in_model.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>

namespace kv::testing {

using namespace kvtest;

namespace {

using StartExport = unsigned char(__stdcall*)(IZModel**);
using EndExport = unsigned char(__stdcall*)(HWND, const char*, IZModel**);
using ClassExport = unsigned char(__stdcall*)(IZClass**, const char*, DWORD, DWORD, DWORD, DWORD);
using ClassValueExport = unsigned char(__stdcall*)(IZClassValue**, const char*, DWORD);
using AttributeExport = unsigned char(__stdcall*)(IZClassValue**);
using MoveExport = unsigned char(__stdcall*)(IZClassValue**, IZClassValue**);
using NamesExport = unsigned char(__stdcall*)(const char*, const char*);
using NameExport = unsigned char(__stdcall*)(const char*);

// The exports at their fixed ordinals.
class Exports {
    const KorvalithLibrary& library_; // first: the entry points below are taken from it

public:
    explicit Exports(const KorvalithLibrary& library) : library_(library) {}

    template <class Function> Function At(WORD ordinal) const {
        return library_.ByOrdinal<Function>(ordinal);
    }

    StartExport scriptStart = At<StartExport>(15);
    EndExport scriptEnd = At<EndExport>(3);
    ClassExport scriptClass = At<ClassExport>(10);
    NameExport scriptClsRemove = At<NameExport>(9);
    MoveExport scriptCValMove = At<MoveExport>(11);
    NamesExport scriptCValRemoveName = At<NamesExport>(12);
    AttributeExport scriptCValRemove = At<AttributeExport>(13);
    ClassValueExport scriptClassValue = At<ClassValueExport>(14);
};

class RecordingExports : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        library_.emplace();
        ASSERT_TRUE(library_->Loaded()) << "korvalith.dll not loaded";
        exports_.emplace(*library_);
        ASSERT_NE(exports_->scriptStart, nullptr);
        ASSERT_NE(exports_->scriptEnd, nullptr);
        model_.emplace(BuildOrderModel());
        char folder[MAX_PATH];
        char file[MAX_PATH];
        ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
        ASSERT_NE(GetTempFileNameA(folder, "kvg", 0, file), 0u);
        scenarioPath_ = file;
    }
    void TearDown() override {
        exports_.reset();
        library_.reset(); // an open recording is released here
        model_.reset();
        DeleteFileA(scenarioPath_.c_str());
        CoUninitialize();
    }

    const Exports& call() const { return *exports_; }
    OrderModel& m() { return *model_; }

    // Closes the recording into the scenario file and returns the file's text.
    std::string EndRecording() {
        IZModel* model = m().model.Get();
        EXPECT_EQ(call().scriptEnd(nullptr, scenarioPath_.c_str(), &model), 1);
        return FileBytes(scenarioPath_);
    }

    static std::string Scenario(std::initializer_list<const char*> fragments) {
        std::string text = Golden("scenario_header");
        for (const char* fragment : fragments)
            text += Golden(fragment);
        return text + Golden("scenario_footer");
    }

private:
    std::optional<KorvalithLibrary> library_;
    std::optional<Exports> exports_;
    std::optional<OrderModel> model_;
    std::string scenarioPath_;
};

TEST_F(RecordingExports, RecordingOfEveryGeneratorIsTheGoldenScenario) {
    IZModel* model = m().model.Get();
    IZClass* order = m().order.Get();
    IZClassValue* number = m().number.Get();
    IZClassValue* total = m().total.Get();
    IZClassValue* none = nullptr;
    ASSERT_EQ(call().scriptStart(&model), 1);

    EXPECT_EQ(call().scriptClass(&order, "", 1, 1, 1, 0), 1);
    EXPECT_EQ(call().scriptClass(&order, "", 0, 0, 0, 1), 1);
    EXPECT_EQ(call().scriptClass(&order, "OldOrder", 0, 0, 0, 0), 1);
    // A null name is the empty name; a boolean slot counts by its low byte only.
    EXPECT_EQ(call().scriptClassValue(&number, nullptr, 0x100), 1);
    EXPECT_EQ(call().scriptClassValue(&number, "", 0xFF01), 1);
    EXPECT_EQ(call().scriptCValRemove(&number), 1);
    EXPECT_EQ(call().scriptCValRemoveName("Old Number", "Order"), 1);
    EXPECT_EQ(call().scriptCValMove(&number, &total), 1);
    EXPECT_EQ(call().scriptCValMove(&number, &none), 1);
    EXPECT_EQ(call().scriptClsRemove(" \tOrder \r\n"), 1);

    EXPECT_TRUE(SameBytes(
        EndRecording(),
        Scenario({"class_complete_rewrite", "class_update_only", "class_renamed",
                  "class_value_plain", "class_value_only_if_missing", "cval_remove",
                  "cval_remove_name", "cval_move_swap", "cval_move_to_end", "cls_remove"})));
}

// Calls that write nothing answer false and leave the recording as it was.
TEST_F(RecordingExports, NothingToWriteGivesFalse) {
    IZModel* model = m().model.Get();
    IZClass* noClass = nullptr;
    IZClassValue* noAttribute = nullptr;
    IZClassValue* inherited = m().orderCode.Get();
    IZClassValue* number = m().number.Get();
    IZClassValue* code = m().code.Get();

    // No recording open.
    IZClass* order = m().order.Get();
    EXPECT_EQ(call().scriptClass(&order, "", 1, 1, 1, 0), 0);
    EXPECT_EQ(call().scriptClassValue(&number, "", 0), 0);
    EXPECT_EQ(call().scriptCValRemove(&number), 0);
    EXPECT_EQ(call().scriptCValRemoveName("Number", "Order"), 0);
    EXPECT_EQ(call().scriptCValMove(&number, &noAttribute), 0);
    EXPECT_EQ(call().scriptClsRemove("Order"), 0);

    ASSERT_EQ(call().scriptStart(&model), 1);
    EXPECT_EQ(call().scriptClass(&noClass, "Order", 1, 1, 1, 0), 0);
    EXPECT_EQ(call().scriptClass(nullptr, "Order", 1, 1, 1, 0), 0);
    EXPECT_EQ(call().scriptClassValue(&noAttribute, "Number", 0), 0);
    EXPECT_EQ(call().scriptClassValue(&inherited, "", 0), 0);
    EXPECT_EQ(call().scriptCValRemove(nullptr), 0);
    EXPECT_EQ(call().scriptCValMove(&noAttribute, &number), 0);
    EXPECT_EQ(call().scriptCValMove(&number, &code), 0); // two classes
    EXPECT_EQ(call().scriptClsRemove(" \t "), 0);
    EXPECT_EQ(call().scriptClsRemove(nullptr), 0);

    EXPECT_TRUE(SameBytes(EndRecording(), Scenario({})));
}

// A kernel read that fails leaves the export as false with the error's text for the host; the
// recording stays open and keeps what was written.
TEST_F(RecordingExports, KernelErrorGivesFalseWithErrorInformation) {
    IZModel* model = m().model.Get();
    IZClassValue* number = m().number.Get();
    ASSERT_EQ(call().scriptStart(&model), 1);
    EXPECT_EQ(call().scriptCValRemove(&number), 1);
    BSTR name = SysAllocString(L"Number");
    Check(m().order->zrRemoveClassValue(name), "zrRemoveClassValue");
    SysFreeString(name);

    SetErrorInfo(0, nullptr);
    EXPECT_EQ(call().scriptCValRemove(&number), 0);
    EXPECT_NE(TakeErrorDescription(), L"");
    EXPECT_EQ(call().scriptClassValue(&number, "", 0), 0);

    EXPECT_TRUE(SameBytes(EndRecording(), Scenario({"cval_remove"})));
}

// The kernel stand-in's failure switch, reached through the model's admin interface.
class CallSwitch {
public:
    explicit CallSwitch(IZModel* model) { Check(model->QueryInterface(IID_PPV_ARGS(&admin_)), "admin"); }
    ~CallSwitch() { admin_->zrSetCallFailure(0, 0); }
    void CountOnly() { Check(admin_->zrSetCallFailure(-1, 0), "zrSetCallFailure"); }
    void FailAt(long nth, long kind) { Check(admin_->zrSetCallFailure(nth, kind), "zrSetCallFailure"); }
    void Off() { Check(admin_->zrSetCallFailure(0, 0), "zrSetCallFailure"); }
    long Calls() {
        long count = 0;
        Check(admin_->get_zrCallCount(&count), "zrCallCount");
        return count;
    }

private:
    ComPtr<IZModelAdmin> admin_;
};

// A kernel call that fails anywhere inside a fragment, with an error or with no object where
// one is due, takes the whole fragment back: the export answers false, the recording ends at the
// fragments written before, and the next one follows them, as if the failed one was never
// asked for.
TEST_F(RecordingExports, AFragmentThatMeetsAFailingKernelCallIsTakenBackWhole) {
    IZModel* model = m().model.Get();
    IZClass* order = m().order.Get();
    CallSwitch kernel(model);
    const auto whole_class = [&] { return call().scriptClass(&order, "", 1, 1, 1, 0); };

    // The recording with the whole fragment, and the one without it.
    ASSERT_EQ(call().scriptStart(&model), 1);
    ASSERT_EQ(call().scriptClsRemove("Before"), 1);
    kernel.CountOnly();
    ASSERT_EQ(whole_class(), 1);
    const long calls = kernel.Calls();
    kernel.Off();
    ASSERT_EQ(call().scriptClsRemove("After"), 1);
    const std::string unbroken = EndRecording();
    ASSERT_EQ(call().scriptStart(&model), 1);
    ASSERT_EQ(call().scriptClsRemove("Before"), 1);
    ASSERT_EQ(call().scriptClsRemove("After"), 1);
    const std::string without = EndRecording();
    ASSERT_GT(calls, 10);

    for (const long kind : {0L, 1L}) {
        for (long nth = 1; nth <= calls; ++nth) {
            ASSERT_EQ(call().scriptStart(&model), 1);
            ASSERT_EQ(call().scriptClsRemove("Before"), 1);
            SetErrorInfo(0, nullptr);
            kernel.FailAt(nth, kind);
            const unsigned char answered = whole_class();
            kernel.Off();
            const std::wstring error = TakeErrorDescription();
            ASSERT_EQ(call().scriptClsRemove("After"), 1);
            const std::string written = EndRecording();
            if (answered == 0) {
                EXPECT_NE(error, L"") << "call " << nth << ", kind " << kind;
                EXPECT_TRUE(SameBytes(written, without)) << "call " << nth << ", kind " << kind;
            } else {
                // Only an object that the fragment may lack (a base class, a child) is passed
                // over; the fragment is then whole and the later one follows it.
                EXPECT_EQ(kind, 1L) << "call " << nth << " failed and the export said true";
                EXPECT_NE(written.find("\"After\""), std::string::npos) << "call " << nth;
                EXPECT_EQ(written.substr(written.size() - 40), unbroken.substr(unbroken.size() - 40));
            }
        }
    }
}

} // namespace
} // namespace kv::testing
