// scriptExecute's runner as a host calls it: the kernel stand-in's model, the real Script Control
// and scenario files on disk. Never a looping scenario: Wine does not enforce the timeout.
#include "runner_fixture.h"

#include "platform/barriers.h"

#include <optional>
#include <ostream>
#include <string>

using namespace kv;

namespace {

constexpr char kCreateAlpha[] = "set classes = mdl.zrGetClassVector\r\n"
                                "classes.zrAdd \"Alpha\"\r\n";

// Runs and returns the error raised, if any.
template <typename Run> std::optional<LibraryError> ErrorOf(Run run) {
    try {
        run();
    } catch (const LibraryError& error) {
        return error;
    }
    return std::nullopt;
}

bool IsScenarioFailure(const LibraryError& error) {
    return std::string(error.what()).starts_with(kScenarioFailedPrefix);
}

TEST_F(RunnerTest, ScenarioThatCreatesAClassAnswersTrue) {
    EXPECT_TRUE(Execute(WriteScenario("create.vbs", kCreateAlpha)));
    EXPECT_TRUE(HasClass(L"Alpha"));
    EXPECT_TRUE(Modified());
}

TEST_F(RunnerTest, ReadOnlyScenarioAnswersFalseAndKeepsTheCallersFlag) {
    const std::string path = WriteScenario("read.vbs", "n = mdl.zrGetClassVector.zrCount\r\n"
                                                       "name = mdl.zrModelName\r\n");
    for (const bool before : {true, false}) {
        SetModified(before);
        EXPECT_FALSE(Execute(path));
        EXPECT_EQ(Modified(), before);
    }
}

// The same scenario with every kind of line end: multi-line statements only compile when the
// lines are split right.
TEST_F(RunnerTest, EveryLineEndStyleRuns) {
    struct Style {
        const char* lineEnd;
        const wchar_t* className;
    };
    for (const Style style : {Style{"\r\n", L"CrLf"}, Style{"\n", L"Lf"}, Style{"\r", L"Cr"}}) {
        const std::string lineEnd = style.lineEnd;
        const std::string text = "set classes = mdl.zrGetClassVector" + lineEnd + "if true then" +
                                 lineEnd + "  classes.zrAdd \"" + Narrow(style.className) + "\"" +
                                 lineEnd + "end if"; // no line break at the end
        EXPECT_TRUE(Execute(WriteScenario("ends.vbs", text))) << Narrow(style.className);
        EXPECT_TRUE(HasClass(style.className));
    }
}

struct FailureCase {
    const char* name;
    const char* text;
    bool changedBeforeError; // the class "Before" exists afterwards
};

void PrintTo(const FailureCase& failure, std::ostream* out) {
    *out << failure.name;
}

class FailingScenarioTest : public RunnerTest, public testing::WithParamInterface<FailureCase> {};

// Syntax and run-time errors leave with the prefixed message; what ran before an error stays.
TEST_P(FailingScenarioTest, RaisesThePrefixedMessage) {
    const std::string text = std::string("set classes = mdl.zrGetClassVector\r\n"
                                         "classes.zrAdd \"Before\"\r\n") +
                             GetParam().text + "\r\nclasses.zrAdd \"After\"\r\n";
    const std::string path = WriteScenario("fails.vbs", text);
    const auto error = ErrorOf([&] { Execute(path); });
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(FAILED(error->Code()));
    EXPECT_TRUE(IsScenarioFailure(*error)) << error->what();
    EXPECT_GT(std::string(error->what()).size(), sizeof kScenarioFailedPrefix - 1)
        << "the control's own message follows the prefix";
    EXPECT_EQ(HasClass(L"Before"), GetParam().changedBeforeError);
    EXPECT_FALSE(HasClass(L"After"));
    EXPECT_EQ(Modified(), GetParam().changedBeforeError);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailingScenarioTest,
    testing::Values(FailureCase{"SyntaxError", "x = = 1", false},
                    FailureCase{"StrayEndFunction", "end function", false},
                    FailureCase{"OwnProcedure", "sub Helper()\r\nend sub", false},
                    FailureCase{"OwnFunction", "function Helper()\r\nend function", false},
                    FailureCase{"DivisionByZero", "x = 1 / 0", true},
                    FailureCase{"UnknownKernelMember", "mdl.zrNoSuchMember 1", true}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(RunnerTest, RecordedHeaderRunsPastRunTimeErrors) {
    EXPECT_TRUE(Execute(WriteScenario("resume.vbs", "on error resume next\r\n"
                                                    "x = 1 / 0\r\n"
                                                    "mdl.zrNoSuchMember 1\r\n"
                                                    "set classes = mdl.zrGetClassVector\r\n"
                                                    "classes.zrAdd \"Alpha\"\r\n")));
    EXPECT_TRUE(HasClass(L"Alpha"));
}

TEST_F(RunnerTest, BinaryFileFailsAsAScenario) {
    std::string bytes;
    for (int i = 0; i < 512; ++i)
        bytes += static_cast<char>((i * 37 + 11) & 0xFF);
    const std::string path = WriteScenario("binary.vbs", bytes);
    const auto error = ErrorOf([&] { Execute(path); });
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(IsScenarioFailure(*error)) << error->what();
}

// Scenario files are ANSI (Windows-1251): Cyrillic names reach the kernel as the same letters.
TEST_F(RunnerTest, AnsiTextReachesTheModelUnchanged) {
    EXPECT_TRUE(
        Execute(WriteScenario("cyrillic.vbs", "set classes = mdl.zrGetClassVector\r\n"
                                              "classes.zrAdd \"\xCA\xEB\xE0\xF1\xF1\"\r\n")));
    EXPECT_TRUE(HasClass(L"Класс"));
}

// The whole of a large file runs: the class is created by its very last line. (Wine's VBScript
// refuses a function body past about 9,990 lines, so the file is large by its line length.)
TEST_F(RunnerTest, LargeFileRunsToItsLastLine) {
    const std::string line = "x = \"" + std::string(200, 'x') + "\"\n";
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += line;
    text += kCreateAlpha;
    ASSERT_GT(text.size(), 1000000u);
    EXPECT_TRUE(Execute(WriteScenario("large.vbs", text)));
    EXPECT_TRUE(HasClass(L"Alpha"));
}

TEST_F(RunnerTest, EmptyFileRunsAndChangesNothing) {
    SetModified(true);
    EXPECT_FALSE(Execute(WriteScenario("empty.vbs", "")));
    EXPECT_TRUE(Modified());
}

TEST_F(RunnerTest, EnvironmentReferencesAreExpanded) {
    WriteScenario("expanded.vbs", kCreateAlpha);
    const std::string folderName = Narrow(folder_.substr(folder_.rfind(L'\\', folder_.size() - 2)));
    EXPECT_TRUE(Execute("%TEMP%" + folderName + "expanded.vbs"));
    EXPECT_TRUE(HasClass(L"Alpha"));
}

// A path far past 255 characters runs the file it names. A decoy sits where the path cut to 254
// characters would point, so a truncating runner would create the wrong class.
TEST_F(RunnerTest, LongPathIsNeverCutToAnotherFile) {
    std::wstring folder = folder_;
    for (const wchar_t letter : {L'a', L'b', L'c'}) {
        folder += std::wstring(100, letter) + L"\\";
        MakeFolder(folder);
    }
    const std::wstring path = folder + L"scenario.vbs";
    ASSERT_GT(path.size(), 300u);
    WriteFileAt(path, kCreateAlpha);
    const std::wstring cut = path.substr(0, 254);
    ASSERT_NE(cut.back(), L'\\');
    WriteFileAt(cut, "set classes = mdl.zrGetClassVector\r\nclasses.zrAdd \"Decoy\"\r\n");

    EXPECT_TRUE(Execute(Narrow(path)));
    EXPECT_TRUE(HasClass(L"Alpha"));
    EXPECT_FALSE(HasClass(L"Decoy"));
}

TEST_F(RunnerTest, MissingFileRaisesTheFileErrorUnprefixed) {
    const auto error = ErrorOf([&] { Execute(Narrow(folder_) + "missing.vbs"); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->Code(), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(IsScenarioFailure(*error)) << error->what();
    EXPECT_NE(std::string(error->what()).find("missing.vbs"), std::string::npos) << error->what();
}

// A failed run must not lose the caller's record of unsaved changes.
TEST_F(RunnerTest, FailedRunKeepsTheCallersChangedFlag) {
    const std::string syntaxError = WriteScenario("syntax.vbs", "x = = 1\r\n");
    const std::string missing = Narrow(folder_) + "missing.vbs";
    for (const std::string& path : {syntaxError, missing}) {
        SetModified(true);
        EXPECT_TRUE(ErrorOf([&] { Execute(path); }).has_value());
        EXPECT_TRUE(Modified()) << path;
    }
}

TEST_F(RunnerTest, NoModelOrNoOwnerAnswersFalseAndTouchesNothing) {
    const std::string path = WriteScenario("create.vbs", kCreateAlpha);
    SetModified(true);
    EXPECT_FALSE(kv::ScriptExecute(nullptr, model_.GetAddressOf(), path.c_str()));
    IZModel* noModel = nullptr;
    EXPECT_FALSE(kv::ScriptExecute(owner_, &noModel, path.c_str()));
    EXPECT_FALSE(kv::ScriptExecute(owner_, nullptr, path.c_str()));
    EXPECT_FALSE(HasClass(L"Alpha"));
    EXPECT_TRUE(Modified());
}

} // namespace
