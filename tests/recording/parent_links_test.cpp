// The parents block of a class fragment inside a recording opened by scriptStart, where the
// recording keeps the parents of the classes instead of asking every class each time: after
// link events, class removals (which raise none), renames and classes added, the block still
// names exactly the classes that have the recorded class among their children, in the vector's
// order, under their current names.
#include "support/reference_count.h"
#include "support/stand_in_model.h"

#include "platform/com_owners.h"

#include "recording/class_fragments.h"
#include "recording/recording_session.h"
#include "recording/recording_state.h"
#include "text/script_format.h"
#include "text/scenario_templates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace kv::testing {

using namespace kvtest;

namespace {

// Parents P1, P2, P3 and the recorded class X, in that order; P1 and P3 have X as child.
class ParentsInRecording : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        model_.emplace();
        for (const wchar_t* name : {L"P1", L"P2", L"P3", L"X"})
            model_->AddClass(name);
        Link(L"P1", L"X");
        Link(L"P3", L"X");
        ASSERT_TRUE(scriptStart(model_->Get()));
    }
    void TearDown() override {
        ReleaseRecording();
        model_.reset();
        CoUninitialize();
    }

    StandInModel& model() { return *model_; }

    void Link(const wchar_t* parent, const wchar_t* child) {
        Check(model().Locate(parent)->zrAddChildClass(Bstr(child).Get()), "zrAddChildClass");
    }
    void Unlink(const wchar_t* parent, const wchar_t* child) {
        Check(model().Locate(parent)->zrRemoveChildClass(Bstr(child).Get()), "zrRemoveChildClass");
    }
    void Remove(const wchar_t* name) {
        Check(model().Classes()->zrRemove(Bstr(name).Get()), "zrRemove");
    }

    // The parents that the fragment of the class names, in the order written.
    std::vector<std::string> RecordedParents(const wchar_t* name) {
        const ComPtr<IZClass> cls = model().Locate(name);
        const std::string ansi = AnsiName(name);
        const std::size_t first = ScriptBuffer->size();
        EXPECT_TRUE(scriptClass(cls.Get(), name, {.links = true}));
        // Each parent: its comment, tplAddClass with its name, tplAddChild with the class's.
        const std::string addChild = Format(tplAddChild, {ansi});
        const std::string addClassHead = "set cls = mdl.zrGetClassVector.zrAdd(\"";
        std::vector<std::string> parents;
        for (std::size_t i = first + 1; i < ScriptBuffer->size(); ++i) {
            if ((*ScriptBuffer)[i] != addChild)
                continue;
            const std::string_view addClass = (*ScriptBuffer)[i - 1];
            const std::size_t start = addClass.find(addClassHead);
            if (start != std::string_view::npos) {
                const std::size_t nameStart = start + addClassHead.size();
                parents.emplace_back(addClass.substr(nameStart, addClass.size() - nameStart - 2));
            }
        }
        return parents;
    }

    static std::string AnsiName(const wchar_t* name) {
        return std::string(name, name + wcslen(name)); // the test's names are ASCII
    }

    using Names = std::vector<std::string>;

private:
    std::optional<StandInModel> model_;
};

TEST_F(ParentsInRecording, FollowLinkEvents) {
    EXPECT_EQ(RecordedParents(L"X"), (Names{"P1", "P3"}));
    Link(L"P2", L"X");
    EXPECT_EQ(RecordedParents(L"X"), (Names{"P1", "P2", "P3"}));
    Unlink(L"P1", L"X");
    EXPECT_EQ(RecordedParents(L"X"), (Names{"P2", "P3"}));
    Link(L"X", L"X"); // a class that is its own child is among its own parents
    EXPECT_EQ(RecordedParents(L"X"), (Names{"P2", "P3", "X"}));
}

TEST_F(ParentsInRecording, FollowClassRemovalsThatRaiseNoEvent) {
    EXPECT_EQ(RecordedParents(L"X"), (Names{"P1", "P3"}));
    Remove(L"P3");
    EXPECT_EQ(RecordedParents(L"X"), (Names{"P1"}));
    // One class removed and another added: as many classes as before.
    Remove(L"P1");
    model().AddClass(L"Z");
    EXPECT_EQ(RecordedParents(L"X"), Names{});
    Link(L"Z", L"X");
    EXPECT_EQ(RecordedParents(L"X"), (Names{"Z"}));
}

TEST_F(ParentsInRecording, NameParentsAndTheClassByTheirCurrentNames) {
    EXPECT_EQ(RecordedParents(L"X"), (Names{"P1", "P3"}));
    SetText(model().Locate(L"P1").Get(), &IZClass::put_zrName, L"First");
    SetText(model().Locate(L"X").Get(), &IZClass::put_zrName, L"Y");
    EXPECT_EQ(RecordedParents(L"Y"), (Names{"First", "P3"}));
}

TEST_F(ParentsInRecording, OfAnotherModelAreAskedFromThatModel) {
    StandInModel other;
    for (const wchar_t* name : {L"A", L"B"})
        other.AddClass(name);
    Check(other.Locate(L"B")->zrAddChildClass(Bstr(L"A").Get()), "zrAddChildClass");
    EXPECT_EQ(RecordedParents(L"X"), (Names{"P1", "P3"}));
    const std::size_t first = ScriptBuffer->size();
    EXPECT_TRUE(scriptClass(other.Locate(L"A").Get(), L"A", {.links = true}));
    const std::vector<std::string> written(ScriptBuffer->begin() + first, ScriptBuffer->end());
    EXPECT_NE(std::find(written.begin(), written.end(), Format(tplAddClass, {"B"})), written.end());
}

TEST_F(ParentsInRecording, AreLetGoWhenTheRecordingCloses) {
    const ComPtr<IZClass> parent = model().Locate(L"P1");
    const ULONG before = RefCount(parent.Get());
    EXPECT_EQ(RecordedParents(L"X"), (Names{"P1", "P3"}));
    ReleaseRecording();
    EXPECT_EQ(RefCount(parent.Get()), before);
}

} // namespace
} // namespace kv::testing
