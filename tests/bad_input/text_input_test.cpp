// Names and texts that scripts may meet in a structure: quotes, line breaks, "%", "<", "&".
// A recording replays to the same structure and the page shows every text as it is. Characters
// outside the ANSI code page have tests of their own (outside_code_page_test.cpp).
#include "bad_input_fixture.h"
#include "tricky_structure.h"

using namespace kv;

namespace {

TEST_F(BadInputTest, TrickyTextsReplayExactlyThroughRecordAndRun) {
    StoreStructure(Path("model.ztp"), BuildTrickyStructure);
    ComPtr<IZModel> groups_only = NewModel();
    AddGroups(groups_only.Get(), {L"designers", L"g\"1 %x%"});
    SaveModel(groups_only.Get(), Path("groups.ztp"));

    const std::vector<std::string> commands[] = {
        {"record", "--model", Path("model.ztp"), "-o", Path("scenario.vbs")},
        {"run", Path("scenario.vbs"), "--model", Path("groups.ztp"), "--save", Path("result.ztp")},
    };
    for (const std::vector<std::string>& arguments : commands) {
        const ProcessOutcome outcome = RunHost(arguments);
        ASSERT_EQ(outcome.exit_code, 0u) << Describe(arguments, outcome);
    }
    EXPECT_EQ(StructureWithoutName(Path("result.ztp")), StructureWithoutName(Path("model.ztp")));
}

TEST_F(BadInputTest, TrickyTextsAreShownAsTheyAreOnThePage) {
    StoreStructure(Path("model.ztp"), BuildTrickyStructure);
    const std::vector<std::string> arguments = {"html", Path("model.ztp"), "-o", Path("page.htm")};
    const ProcessOutcome outcome = RunHost(arguments);
    ASSERT_EQ(outcome.exit_code, 0u) << Describe(arguments, outcome);
    const std::string page = ReadBytes(Path("page.htm"));
    for (const char* shown : {"Quote&quot;d &quot;&quot;", "&lt;b&gt;&amp;amp; &lt;!bold&gt;",
                              "100% %PATH%", "<a name=&lt;b&gt;&amp;amp;&#32;&lt;!bold&gt;>"})
        EXPECT_NE(page.find(shown), std::string::npos) << shown;
    EXPECT_EQ(page.find("<b>&amp; <!bold>"), std::string::npos);
}

const std::wstring kSnow = L"Snow \u2603 \u4E2D";

// The kernel keeps such texts whole: a run that stores the model loses none of them.
TEST_F(BadInputTest, TextOutsideTheCodePageSurvivesARun) {
    StoreStructure(Path("model.ztp"), [](IZModel* model) {
        ComPtr<IZClassVector> vector;
        Check(model->zrGetClassVector(&vector), "the class vector");
        AddClass(vector.Get(), kSnow);
    });
    WriteBytes(Path("scenario.vbs"), "mdl.zrGetClassVector.zrAdd(\"Extra\")\r\n");
    const std::vector<std::string> arguments = {"run", Path("scenario.vbs"), "--model",
                                                Path("model.ztp")};
    const ProcessOutcome outcome = RunHost(arguments);
    ASSERT_EQ(outcome.exit_code, 0u) << Describe(arguments, outcome);
    EXPECT_NE(ReadBytes(Path("model.ztp")).find("\"name\": \"Snow \xE2\x98\x83 \xE4\xB8\xAD\""),
              std::string::npos);
}

} // namespace
