// Scenario files that scripts may hand to "kvhost run": empty, binary, huge, with other line
// ends, with a line of a megabyte, failing half-way. Each runs or fails with a message that says
// why; a failed run stores nothing.
#include "bad_input_fixture.h"

#include <random>

using namespace kv;

namespace {

struct ScenarioCase {
    const char* name;
    std::function<std::string()> text;
    unsigned long exit_code;
    std::string said;                     // in kvhost's output
    std::vector<std::string> new_classes; // in the stored structure, when it succeeds
};

void PrintTo(const ScenarioCase& c, std::ostream* out) {
    *out << c.name;
}

std::string Binary() {
    std::mt19937 random(11);
    std::string bytes(4096, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random() % 256);
    return bytes;
}

std::string AddClass(const std::string& name) {
    return "mdl.zrGetClassVector.zrAdd(\"" + name + "\")";
}

// 50 MB: fifty comment lines of a megabyte, then one statement.
std::string FiftyMegabytes() {
    const std::string line = "' " + std::string(1024 * 1024 - 4, 'z') + "\r\n";
    std::string text;
    text.reserve(line.size() * 50 + 64);
    for (int i = 0; i < 50; ++i)
        text += line;
    return text + AddClass("Big") + "\r\n";
}

const std::wstring kRunFailed = L"Ошибка выполнения сценария";

const ScenarioCase kScenarioCases[] = {
    {"Empty", [] { return std::string(); }, 0, "model unchanged", {}},
    {"Binary", Binary, 1, "the scenario failed: " + ShownAnsiFromWide(kRunFailed), {}},
    {"FiftyMegabytes", FiftyMegabytes, 0, "model changed", {"Big"}},
    {"LineFeedsOnly",
     [] { return AddClass("Lf1") + "\n" + AddClass("Lf2") + "\n"; },
     0,
     "model changed",
     {"Lf1", "Lf2"}},
    {"CarriageReturnsOnly",
     [] { return AddClass("Cr1") + "\r" + AddClass("Cr2"); },
     0,
     "model changed",
     {"Cr1", "Cr2"}},
    {"CommentOfAMegabyte",
     [] { return "' " + std::string(1024 * 1024, 'x') + "\r\n" + AddClass("After") + "\r\n"; },
     0,
     "model changed",
     {"After"}},
    {"LiteralOfAMegabyte",
     [] { return AddClass(std::string(1024 * 1024, 'y')) + "\r\n"; },
     0,
     "model changed",
     {std::string(1024 * 1024, 'y')}},
    {"RunTimeErrorAfterAChange",
     [] { return AddClass("Half") + "\r\nmdl.NoSuchMember 1\r\n" + AddClass("Never") + "\r\n"; },
     1,
     "the scenario failed: " + ShownAnsiFromWide(kRunFailed),
     {}},
    {"SyntaxError",
     [] { return std::string("if then\r\n"); },
     1,
     "the scenario failed: " + ShownAnsiFromWide(kRunFailed),
     {}},
};

class ScenarioInput : public BadInputTest, public ::testing::WithParamInterface<ScenarioCase> {};

// A run that fails stores nothing: the model file is as it was and no --save file appears.
TEST_P(ScenarioInput, RunsOrFailsSayingWhyAndStoresNothingOnFailure) {
    const ScenarioCase& c = GetParam();
    StoreStructure(Path("model.ztp"));
    const std::string model_before = ReadBytes(Path("model.ztp"));
    WriteBytes(Path("scenario.vbs"), c.text());

    const std::vector<std::string> arguments = {
        "run", Path("scenario.vbs"), "--model", Path("model.ztp"), "--save", Path("result.ztp")};
    const ProcessOutcome outcome = RunHost(arguments);
    EXPECT_EQ(outcome.exit_code, c.exit_code) << Describe(arguments, outcome);
    EXPECT_NE(outcome.output.find(c.said), std::string::npos) << Describe(arguments, outcome);
    EXPECT_EQ(ReadBytes(Path("model.ztp")), model_before);
    if (c.exit_code != 0) {
        EXPECT_EQ(FilesIn(folder_), (std::set<std::string>{"model.ztp", "scenario.vbs"}));
        return;
    }
    const std::string stored = ReadBytes(Path("result.ztp"));
    for (const std::string& name : c.new_classes)
        EXPECT_NE(stored.find("\"name\": \"" + name + "\""), std::string::npos)
            << name.substr(0, 20);
}

INSTANTIATE_TEST_SUITE_P(BadInput, ScenarioInput, ::testing::ValuesIn(kScenarioCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BadInputTest, MissingScenarioFileIsNamed) {
    StoreStructure(Path("model.ztp"));
    const std::vector<std::string> arguments = {"run", Path("missing.vbs"), "--model",
                                                Path("model.ztp")};
    const ProcessOutcome outcome = RunHost(arguments);
    EXPECT_EQ(outcome.exit_code, 1u) << Describe(arguments, outcome);
    EXPECT_NE(outcome.output.find(ShownAnsiFromWide(L"Не удалось прочитать файл сценария")),
              std::string::npos)
        << Describe(arguments, outcome);
    EXPECT_NE(outcome.output.find("missing.vbs"), std::string::npos);
}

} // namespace
