// Names and texts that scripts may meet in a structure: quotes, line breaks, "%", "<", "&",
// and characters outside the ANSI code page. A recording replays to the same structure and the
// page shows every text as it is; a text that a scenario cannot carry is refused by name, and
// nothing is written.
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

// Texts outside the code page, in every place a recording reads them from.
struct OutsideCodePageCase {
    const char* name;
    std::function<void(IZModel*)> build;
    const char* character;
};

void PrintTo(const OutsideCodePageCase& c, std::ostream* out) {
    *out << c.name;
}

const std::wstring kSnow = L"Snow \u2603 \u4E2D";

const OutsideCodePageCase kOutsideCodePageCases[] = {
    {"ClassName",
     [](IZModel* model) {
         ComPtr<IZClassVector> vector;
         Check(model->zrGetClassVector(&vector), "the class vector");
         AddClass(vector.Get(), kSnow);
     },
     "U+2603"},
    {"AttributeTexts",
     [](IZModel* model) {
         ComPtr<IZClassVector> vector;
         Check(model->zrGetClassVector(&vector), "the class vector");
         AddAttribute(AddClass(vector.Get(), L"Plain").Get(), L"Note \u4E2D");
     },
     "U+4E2D"},
    {"ModuleText",
     [](IZModel* model) {
         ComPtr<IZClassVector> vector;
         Check(model->zrGetClassVector(&vector), "the class vector");
         Check(vector->put_zrPatchFunction(Bstr(L"Module").Get(), Bstr(L"' \U0001F600").Get()),
               "a module");
     },
     "U+1F600"},
};

class OutsideCodePage : public BadInputTest,
                        public ::testing::WithParamInterface<OutsideCodePageCase> {};

// A "?" in their place would make the replay create another name and report success. The page
// only shows them, with the code page's default character.
TEST_P(OutsideCodePage, RecordingIsRefusedNamingTheCharacterWhileThePageIsWritten) {
    StoreStructure(Path("model.ztp"), GetParam().build);
    const std::vector<std::string> arguments = {"record", "--model", Path("model.ztp"), "-o",
                                                Path("scenario.vbs")};
    const ProcessOutcome outcome = RunHost(arguments);
    EXPECT_EQ(outcome.exit_code, 1u) << Describe(arguments, outcome);
    EXPECT_NE(outcome.output.find(ShownAnsiFromWide(L"нельзя записать в сценарий: символа ") +
                                  GetParam().character),
              std::string::npos)
        << Describe(arguments, outcome);
    EXPECT_EQ(FilesIn(folder_), std::set<std::string>{"model.ztp"});

    const std::vector<std::string> html = {"html", Path("model.ztp"), "-o", Path("page.htm")};
    const ProcessOutcome page = RunHost(html);
    EXPECT_EQ(page.exit_code, 0u) << Describe(html, page);
    EXPECT_TRUE(Exists(Path("page.htm")));
}

INSTANTIATE_TEST_SUITE_P(BadInput, OutsideCodePage, ::testing::ValuesIn(kOutsideCodePageCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The kernel keeps such texts whole: a run that stores the model loses none of them.
TEST_F(BadInputTest, TextOutsideTheCodePageSurvivesARun) {
    StoreStructure(Path("model.ztp"), kOutsideCodePageCases[0].build);
    WriteBytes(Path("scenario.vbs"), "mdl.zrGetClassVector.zrAdd(\"Extra\")\r\n");
    const std::vector<std::string> arguments = {"run", Path("scenario.vbs"), "--model",
                                                Path("model.ztp")};
    const ProcessOutcome outcome = RunHost(arguments);
    ASSERT_EQ(outcome.exit_code, 0u) << Describe(arguments, outcome);
    EXPECT_NE(ReadBytes(Path("model.ztp")).find("\"name\": \"Snow \xE2\x98\x83 \xE4\xB8\xAD\""),
              std::string::npos);
}

} // namespace
