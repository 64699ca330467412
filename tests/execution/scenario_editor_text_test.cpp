// The scenario editor's texts: where its data files are, its caption and question, the error
// line of a failed run and the line ends of the files it reads and writes.
#include "execution/scenario_editor_text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using namespace kv::execution;

struct FolderCase {
    const wchar_t* host;
    const wchar_t* dataFolder;
};

TEST(EditorDataFolder, IsTheFolderAboveTheHostsWithData) {
    for (const FolderCase c :
         {FolderCase{L"C:\\A\\Bin\\host.exe", L"C:\\A\\data\\"},
          FolderCase{L"C:\\Zelvar 4\\Bin\\x.exe", L"C:\\Zelvar 4\\data\\"},
          FolderCase{L"\\\\server\\share\\Bin\\x.exe", L"\\\\server\\share\\data\\"},
          FolderCase{L"C:\\Bin\\host.exe", L"C:\\data\\"}, FolderCase{L"host.exe", L"data\\"}})
        EXPECT_EQ(EditorDataFolder(c.host), c.dataFolder) << c.host;
}

TEST(EditorTexts, NameTheFileWithoutItsFolder) {
    EXPECT_EQ(EditorCaption(L"C:\\Мои технологии\\scenery.vbs"), L"Сценарий scenery.vbs");
    EXPECT_EQ(EditorCaption(L"D:/work/a.b.vbs"), L"Сценарий a.b.vbs");
    EXPECT_EQ(SaveQuestion(L"C:\\x\\new.vbs"),
              L"Файл new.vbs был отредактирован\r\nСохранить изменения?");
}

TEST(RunErrorLine, PlacesTheErrorInTheScenariosLines) {
    // The control counts the wrapper's first line; the editor shows the scenario's.
    EXPECT_EQ(RunErrorLine(4, 7, L"Ожидается конец"), L"3:7 - Ожидается конец");
    EXPECT_EQ(RunErrorLine(1, 0, L"x"), L"0:0 - x");
    EXPECT_EQ(RunErrorLine(0, 5, L"Нет объекта"), L"Нет объекта");
    EXPECT_EQ(RunErrorLine(-1, 0, L""), L"");
}

struct LinesCase {
    const char* name;
    std::string text;
    std::string written;
};

void PrintTo(const LinesCase& c, std::ostream* out) {
    *out << c.name;
}

class WithCrLfLinesTest : public testing::TestWithParam<LinesCase> {};

TEST_P(WithCrLfLinesTest, EndsEveryLineWithCrLf) {
    EXPECT_EQ(WithCrLfLines(GetParam().text), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Texts, WithCrLfLinesTest,
                         testing::Values(LinesCase{"Empty", "", ""},
                                         LinesCase{"NoFinalBreak", "a\r\nb", "a\r\nb\r\n"},
                                         LinesCase{"AlreadyCrLf", "a\r\nb\r\n", "a\r\nb\r\n"},
                                         LinesCase{"LoneBreaks", "a\nb\rc\n", "a\r\nb\r\nc\r\n"},
                                         LinesCase{"EmptyLinesKept", "\r\n\r\n", "\r\n\r\n"}));

} // namespace
