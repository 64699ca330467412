// The class and attribute generators linked into the test program, against structures in the
// real kernel stand-in. The recording is opened by setting the recording state as scriptStart
// leaves it; what the generators append is compared, joined as in a scenario file, with the
// golden text of each case.
#include "golden.h"
#include "support/reference_count.h"
#include "support/stand_in_model.h"

#include "platform/barriers.h"
#include "recording/attribute_fragments.h"
#include "recording/class_fragments.h"
#include "recording/recording_state.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace kv::testing {

using namespace kvtest;

namespace {

class Generators : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        model_.emplace(BuildOrderModel());
        OpenRecording(false);
    }
    void TearDown() override {
        ReleaseRecording();
        model_.reset();
        CoUninitialize();
    }

    static void OpenRecording(bool differenceMode) {
        RecordingActive = true;
        ScriptBuffer.emplace();
        DifferenceMode = differenceMode;
    }
    static std::string Written() { return ScenarioText(*ScriptBuffer); }

    OrderModel& m() { return *model_; }

private:
    std::optional<OrderModel> model_;
};

struct GoldenCase {
    const char* golden;
    bool differenceMode;
    bool (*generate)(OrderModel& m);
};

void PrintTo(const GoldenCase& goldenCase, std::ostream* out) {
    *out << goldenCase.golden;
}

const GoldenCase kGoldenCases[] = {
    {"class_value_plain", false,
     [](OrderModel& m) { return scriptClassValue(m.number.Get(), L"", false); }},
    {"class_value_only_if_missing", false,
     [](OrderModel& m) { return scriptClassValue(m.number.Get(), L"", true); }},
    {"class_value_renamed_difference", true,
     [](OrderModel& m) { return scriptClassValue(m.number.Get(), L"OldNumber", false); }},
    {"class_complete_rewrite", false,
     [](OrderModel& m) {
         return scriptClass(m.order.Get(), L"",
                            {.attributeRights = true, .links = true, .filters = true});
     }},
    {"class_update_only", false,
     [](OrderModel& m) { return scriptClass(m.order.Get(), L"", {.updateOnly = true}); }},
    {"class_renamed", false,
     [](OrderModel& m) { return scriptClass(m.order.Get(), L"OldOrder", {}); }},
    {"class_difference", true,
     [](OrderModel& m) {
         return scriptClass(m.order.Get(), L"",
                            {.attributeRights = true, .links = true, .filters = true});
     }},
    {"class_without_attributes", false,
     [](OrderModel& m) { return scriptClass(m.empty.Get(), L"Empty", {.attributeRights = true}); }},
    {"cval_remove", false, [](OrderModel& m) { return scriptCValRemove(m.number.Get()); }},
    {"cval_remove_name", false,
     [](OrderModel&) { return scriptCValRemoveName(L"Old Number", L"Order"); }},
    {"cval_move_swap", false,
     [](OrderModel& m) { return scriptCValMove(m.number.Get(), m.total.Get()); }},
    {"cval_move_to_end", false,
     [](OrderModel& m) { return scriptCValMove(m.number.Get(), nullptr); }},
    {"cls_remove", false, [](OrderModel&) { return scriptClsRemove(L" \tOrder \r\n"); }},
};

class GoldenGenerators : public Generators, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(GoldenGenerators, WriteTheGoldenFragment) {
    DifferenceMode = GetParam().differenceMode;
    IUnknown* const objects[] = {m().model.Get(), m().order.Get(), m().number.Get(),
                                 m().customer.Get(), m().line.Get()};
    std::vector<ULONG> before;
    for (IUnknown* object : objects)
        before.push_back(RefCount(object));

    EXPECT_TRUE(GetParam().generate(m()));
    EXPECT_TRUE(SameBytes(Written(), Golden(GetParam().golden)));
    // Every kernel reference a generator takes is released before it returns.
    for (std::size_t i = 0; i < std::size(objects); ++i)
        EXPECT_EQ(RefCount(objects[i]), before[i]) << "object " << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenGenerators, ::testing::ValuesIn(kGoldenCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                             return std::string(info.param.golden);
                         });

TEST_F(Generators, InheritedAttributeGivesFalseAndNothing) {
    EXPECT_FALSE(scriptClassValue(m().orderCode.Get(), L"", false));
    EXPECT_FALSE(scriptClassValue(m().orderCode.Get(), L"Code", true));
    EXPECT_TRUE(ScriptBuffer->empty());
}

TEST_F(Generators, MoveAcrossClassesGivesFalseAndNothing) {
    EXPECT_FALSE(scriptCValMove(m().number.Get(), m().code.Get()));
    EXPECT_TRUE(ScriptBuffer->empty());
}

TEST_F(Generators, ClassRemovalOfABlankNameGivesFalseAndNothing) {
    for (const wchar_t* name : {L"", L"   ", L"\t \r\n"}) {
        EXPECT_FALSE(scriptClsRemove(name)) << ::testing::PrintToString(name);
    }
    EXPECT_TRUE(ScriptBuffer->empty());
}

TEST_F(Generators, MissingObjectGivesFalseAndNothing) {
    EXPECT_FALSE(scriptClass(nullptr, L"", {}));
    EXPECT_FALSE(scriptClassValue(nullptr, L"Number", false));
    EXPECT_FALSE(scriptCValRemove(nullptr));
    EXPECT_FALSE(scriptCValMove(nullptr, m().total.Get()));
    EXPECT_TRUE(ScriptBuffer->empty());
}

TEST_F(Generators, WithoutARecordingNothingIsWritten) {
    ReleaseRecording();
    EXPECT_FALSE(scriptClass(m().order.Get(), L"", {}));
    EXPECT_FALSE(scriptClassValue(m().number.Get(), L"", false));
    EXPECT_FALSE(scriptCValRemove(m().number.Get()));
    EXPECT_FALSE(scriptCValRemoveName(L"Number", L"Order"));
    EXPECT_FALSE(scriptCValMove(m().number.Get(), nullptr));
    EXPECT_FALSE(scriptClsRemove(L"Order"));
    EXPECT_FALSE(ScriptBuffer.has_value());
}

// An attribute whose entity the kernel no longer has: its first read fails, the generator stops
// with the kernel's error and the fragments written before stay as they were.
TEST_F(Generators, FailingKernelReadStopsTheGeneratorAndKeepsEarlierItems) {
    ASSERT_TRUE(scriptClsRemove(L"Order"));
    const std::string before = Written();
    BSTR name = SysAllocString(L"Number");
    Check(m().order->zrRemoveClassValue(name), "zrRemoveClassValue");
    SysFreeString(name);
    EXPECT_THROW(scriptCValRemove(m().number.Get()), LibraryError);
    EXPECT_THROW(scriptClassValue(m().number.Get(), L"", false), LibraryError);
    EXPECT_EQ(Written(), before);
}

} // namespace
} // namespace kv::testing
