// Texts with characters that the ANSI code page lacks ("мм²", "Ø", "≤", a character outside the
// BMP), in every place a scenario or the page reads them from: a class, an attribute, its
// measure unit, function code and property value, a filter caption. A scenario stays 8-bit text
// and still names each exactly (ChrW inside string literals, "?" on comment lines); the page
// writes numeric character references; the difference compares them as the kernel holds them.
#include "bad_input_fixture.h"
#include "tricky_structure.h"

#include "support/golden.h"

#include <regex>

using namespace kv;

namespace {

struct OutsideText {
    const char* what;
    std::wstring text;
    std::wstring shown; // as the page writes it
};

const OutsideText kOutsideTexts[] = {
    {"superscript in a unit", L"мм\u00B2", L"мм&#178;"},
    {"letter", L"\u00D8", L"&#216;"},
    {"sign", L"\u2264", L"&#8804;"},
    {"outside the BMP", L"\U0001F600", L"&#128512;"},
};

// One class per text, named with it, holding an attribute whose every text is it; one filter
// per text, captioned with it.
void BuildOutsideTexts(IZModel* model) {
    ComPtr<IZClassVector> vector;
    Check(model->zrGetClassVector(&vector), "the class vector");
    ComPtr<IZFilterVector> filters;
    Check(vector->get_zrFilterVector(&filters), "the filters");
    int number = 0;
    for (const OutsideText& outside : kOutsideTexts) {
        AddAttribute(AddClass(vector.Get(), L"Класс " + outside.text).Get(), outside.text);
        const std::wstring filter = L"Фильтр" + std::to_wstring(++number);
        Check(filters->zrCreateFilterEx(Bstr(filter).Get(), Bstr(outside.text).Get()),
              "a filter");
    }
}

// Class and attribute identifiers are made anew with every structure: the goldens hold "{GUID}".
std::string WithoutGuids(const std::string& text) {
    static const std::regex guid(
        "\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}");
    return std::regex_replace(text, guid, "{GUID}");
}

class OutsideCodePageTest : public BadInputTest {
protected:
    // kvhost with the arguments, which must succeed; its output.
    std::string Host(const std::vector<std::string>& arguments) {
        const ProcessOutcome outcome = RunHost(arguments);
        EXPECT_EQ(outcome.exit_code, 0u) << Describe(arguments, outcome);
        return outcome.output;
    }
};

TEST_F(OutsideCodePageTest, RecordingWritesEveryCharacterSoTheScenarioNamesItExactly) {
    StoreStructure(Path("model.ztp"), BuildOutsideTexts);
    Host({"record", "--model", Path("model.ztp"), "-o", Path("scenario.vbs")});
    EXPECT_TRUE(kvtest::SameBytes(WithoutGuids(ReadBytes(Path("scenario.vbs"))),
                                  kvtest::GoldenText(KV_BAD_INPUT_GOLDEN_DIR, "outside_record")));
}

TEST_F(OutsideCodePageTest, DifferenceWritesThemAndFindsNothingBetweenEqualStructures) {
    StoreStructure(Path("plain.ztp"));
    StoreStructure(Path("model.ztp"), BuildOutsideTexts);
    StoreStructure(Path("same.ztp"), BuildOutsideTexts);

    Host({"diff", Path("plain.ztp"), Path("model.ztp"), "-o", Path("difference.vbs")});
    EXPECT_TRUE(
        kvtest::SameBytes(WithoutGuids(ReadBytes(Path("difference.vbs"))),
                          kvtest::GoldenText(KV_BAD_INPUT_GOLDEN_DIR, "outside_difference")));

    // Equal texts that the code page shows alike ("?") compare equal only because they are.
    Host({"diff", Path("model.ztp"), Path("same.ztp"), "-o", Path("none.vbs")});
    const std::string none = ReadBytes(Path("none.vbs"));
    const std::string rights = ShownAnsiFromWide(L"' Восстанавливаю безопасность - begin");
    const std::size_t sections_end = none.find(rights);
    ASSERT_NE(sections_end, std::string::npos) << none;
    const std::string first = ShownAnsiFromWide(L"' Создаю отсутствующие классы и их атрибуты");
    std::size_t statements = 0;
    for (std::size_t at = none.find(first); at < sections_end;) {
        const std::size_t end = none.find("\r\n", at);
        const std::string line = none.substr(at, end - at);
        if (!line.empty() && line[0] != '\'')
            ++statements;
        at = end + 2;
    }
    EXPECT_EQ(statements, 0u) << none.substr(0, sections_end);
    EXPECT_NE(none.find(first), std::string::npos);
}

TEST_F(OutsideCodePageTest, PageWritesNumericReferencesAndFindsParentsByTheKernelsNames) {
    StoreStructure(Path("model.ztp"), [](IZModel* model) {
        BuildOutsideTexts(model);
        // Two children that the code page would show alike; only one has the parent.
        ComPtr<IZClassVector> vector;
        Check(model->zrGetClassVector(&vector), "the class vector");
        const ComPtr<IZClass> parent = AddClass(vector.Get(), L"Родитель");
        AddAttribute(parent.Get(), L"x");
        AddAttribute(AddClass(vector.Get(), L"A\u00B3").Get(), L"y");
        Check(parent->zrAddChildClass(Bstr(L"Класс мм\u00B2").Get()), "a link");
    });
    Host({"html", Path("model.ztp"), "-o", Path("page.htm")});
    const std::string page = ReadBytes(Path("page.htm"));
    for (const OutsideText& outside : kOutsideTexts) {
        for (const std::wstring& shown :
             {L"attr " + outside.shown + L"<", L"<a name=Класс&#32;" + outside.shown + L">",
              L" = " + outside.shown + L"<"})
            EXPECT_NE(page.find(ShownAnsiFromWide(shown)), std::string::npos)
                << outside.what << ": " << ShownAnsiFromWide(shown);
    }
    EXPECT_EQ(page.find('?'), std::string::npos);
    EXPECT_EQ(page.find("A&#179;</a>"), std::string::npos)
        << "a class that only looks like the child is no child";
}

// kvhost passes filter and module names and group identifiers to the exports, which take 8-bit
// text: such a name cannot be passed, and kvhost says so instead of passing a look-alike.
TEST_F(OutsideCodePageTest, KvhostRefusesToRecordANameItCannotPassToTheLibrary) {
    StoreStructure(Path("model.ztp"), [](IZModel* model) {
        ComPtr<IZClassVector> vector;
        Check(model->zrGetClassVector(&vector), "the class vector");
        ComPtr<IZFilterVector> filters;
        Check(vector->get_zrFilterVector(&filters), "the filters");
        Check(filters->zrCreateFilterEx(Bstr(L"F\u00B2").Get(), Bstr(L"").Get()), "a filter");
    });
    const std::vector<std::string> arguments = {"record", "--model", Path("model.ztp"), "-o",
                                                Path("scenario.vbs")};
    const ProcessOutcome outcome = RunHost(arguments);
    EXPECT_EQ(outcome.exit_code, 1u) << Describe(arguments, outcome);
    EXPECT_NE(outcome.output.find("the filter name \"F?\" holds a character that the ANSI code "
                                  "page lacks"),
              std::string::npos)
        << Describe(arguments, outcome);
    EXPECT_FALSE(Exists(Path("scenario.vbs")));
}

TEST_F(OutsideCodePageTest, ComparingShowsThemAsQuestionMarksOnKvhostsOutput) {
    StoreStructure(Path("plain.ztp"));
    StoreStructure(Path("model.ztp"), BuildOutsideTexts);
    const std::vector<std::string> arguments = {"compare", Path("plain.ztp"), Path("model.ztp")};
    const ProcessOutcome outcome = RunHost(arguments);
    EXPECT_EQ(outcome.exit_code, 1u) << Describe(arguments, outcome);
    EXPECT_NE(outcome.output.find(ShownAnsiFromWide(L"Класс мм?")), std::string::npos)
        << Describe(arguments, outcome);
    EXPECT_NE(outcome.output.find(ShownAnsiFromWide(L"Класс ??")), std::string::npos)
        << Describe(arguments, outcome);
}

} // namespace
