// Names and texts that scripts may meet in a structure: quotes, line breaks, "%", "<", "&",
// and characters outside the ANSI code page. A recording replays to the same structure and the
// page shows every text as it is; a text that a scenario cannot carry is refused by name, and
// nothing is written.
#include "bad_input_fixture.h"

#include <oleauto.h>

namespace {

const std::wstring kTrickyTexts[] = {L"Quote\"d \"\"", L"Line\r\nBreak\rCr\nLf", L"100% %PATH%",
                                     L"<b>&amp; <!bold>"};

ComPtr<IZClass> AddClass(IZClassVector* vector, const std::wstring& name) {
    ComPtr<IZClass> cls;
    Check(vector->zrAdd(Text(name), &cls), "adding a class");
    return cls;
}

// Function code and module texts come back from a scenario with every line break as CR LF.
std::wstring WithCrLf(const std::wstring& text) {
    std::wstring result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            i += text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n';
            result += L"\r\n";
        } else {
            result += text[i];
        }
    }
    return result;
}

// An attribute whose every text is `text`, with a property named and valued by it.
void AddAttribute(IZClass* cls, const std::wstring& text) {
    ComPtr<IZClassValue> attribute;
    Check(cls->zrAddClassValue(Text(L"attr " + text), &attribute), "adding an attribute");
    Check(attribute->put_zrScreenName(Text(text)), "screen name");
    Check(attribute->put_zrAliasName(Text(text)), "alias name");
    Check(attribute->put_zrGroup(Text(text)), "group");
    Check(attribute->put_zrFunctionCode(Text(WithCrLf(text))), "function code");
    Check(attribute->put_zrMeasureUnit(Text(text)), "measure unit");
    Check(attribute->put_zrMeasureEntity(Text(text)), "measure entity");
    ComPtr<IZProperties> properties;
    Check(attribute->get_zrProperties(&properties), "properties");
    VARIANT value;
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    Check(properties->zrAddProp(Text(L"p " + text), value), "adding a property");
    VariantClear(&value);
}

template <class Object> void GiveRights(IZModel* model, Object* object, LONG rights) {
    ComPtr<IZLocalSecurity> security;
    Check(model->zrGetLocalSecurity(&security), "the security");
    LONG group = 0;
    Check(security->zrGroupByID(Text(L"g\"1 %x%"), &group), "finding a group");
    GUID key;
    Check(object->get_zrGUID(&key), "an identifier");
    Check(security->zrSetRights(group, &key, rights), "giving rights");
}

// Every text of a structure that a recording carries, once with each tricky text.
void BuildTrickyStructure(IZModel* model) {
    AddGroups(model, {L"g\"1 %x%"});
    ComPtr<IZClassVector> vector;
    Check(model->zrGetClassVector(&vector), "the class vector");
    std::vector<ComPtr<IZClass>> classes;
    for (const std::wstring& text : kTrickyTexts) {
        classes.push_back(AddClass(vector.Get(), text));
        Check(classes.back()->put_zrScreenName(Text(L"screen " + text)), "screen name");
        AddAttribute(classes.back().Get(), text);
        GiveRights(model, classes.back().Get(), 7);
    }
    Check(classes[0]->zrAddChildClass(Text(kTrickyTexts[1])), "linking");
    ComPtr<IZFilterVector> filters;
    Check(vector->get_zrFilterVector(&filters), "the filters");
    Check(filters->zrCreateFilterEx(Text(kTrickyTexts[2]), Text(kTrickyTexts[3])), "a filter");
    Check(filters->zrAddConstraint(Text(kTrickyTexts[2]), Text(kTrickyTexts[0])), "constraint");
    Check(vector->put_zrPatchFunction(Text(L"Module " + kTrickyTexts[2]),
                                      Text(WithCrLf(kTrickyTexts[1] + kTrickyTexts[0]))),
          "a module");
}

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
        const HostOutcome outcome = RunHost(arguments);
        ASSERT_EQ(outcome.exit_code, 0u) << Describe(arguments, outcome);
    }
    EXPECT_EQ(StructureWithoutName(Path("result.ztp")), StructureWithoutName(Path("model.ztp")));
}

TEST_F(BadInputTest, TrickyTextsAreShownAsTheyAreOnThePage) {
    StoreStructure(Path("model.ztp"), BuildTrickyStructure);
    const std::vector<std::string> arguments = {"html", Path("model.ztp"), "-o", Path("page.htm")};
    const HostOutcome outcome = RunHost(arguments);
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
         Check(vector->put_zrPatchFunction(Text(L"Module"), Text(L"' \U0001F600")), "a module");
     },
     "U+1F600"},
};

class OutsideCodePage : public BadInputTest,
                        public ::testing::WithParamInterface<OutsideCodePageCase> {};

// A "?" in their place would make the replay create another name and report success.
TEST_P(OutsideCodePage, RecordingIsRefusedNamingTheCharacterAndWritesNothing) {
    StoreStructure(Path("model.ztp"), GetParam().build);
    const std::vector<std::string> arguments = {"record", "--model", Path("model.ztp"), "-o",
                                                Path("scenario.vbs")};
    const HostOutcome outcome = RunHost(arguments);
    EXPECT_EQ(outcome.exit_code, 1u) << Describe(arguments, outcome);
    EXPECT_NE(
        outcome.output.find(Ansi(L"нельзя записать в сценарий: символа ") + GetParam().character),
        std::string::npos)
        << Describe(arguments, outcome);
    EXPECT_EQ(FilesIn(folder_), std::set<std::string>{"model.ztp"});
}

INSTANTIATE_TEST_SUITE_P(BadInput, OutsideCodePage, ::testing::ValuesIn(kOutsideCodePageCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The kernel keeps such texts whole: a run that stores the model loses none of them.
TEST_F(BadInputTest, TextOutsideTheCodePageSurvivesARun) {
    StoreStructure(Path("model.ztp"), kOutsideCodePageCases[0].build);
    WriteBytes(Path("scenario.vbs"), "mdl.zrGetClassVector.zrAdd(\"Extra\")\r\n");
    const std::vector<std::string> arguments = {"run", Path("scenario.vbs"), "--model",
                                                Path("model.ztp")};
    const HostOutcome outcome = RunHost(arguments);
    ASSERT_EQ(outcome.exit_code, 0u) << Describe(arguments, outcome);
    EXPECT_NE(ReadBytes(Path("model.ztp")).find("\"name\": \"Snow \xE2\x98\x83 \xE4\xB8\xAD\""),
              std::string::npos);
}

} // namespace
