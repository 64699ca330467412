// The import's rules that need no kernel: free names, change lists and marks, constraint lists,
// line splitting, the commented code blocks, event-handler stubs and the report's file name.
#include "helper/event_handler_stub.h"
#include "helper/import_report.h"
#include "helper/import_rules.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace kv::import;

TEST(FreeName, TakesTheFirstUnusedNumber) {
    const std::set<std::wstring> taken = {L"Fixture", L"Fixture1", L"Gauge1"};
    auto is_taken = [&](const std::wstring& name) { return taken.count(name) > 0; };
    EXPECT_EQ(FirstFreeName(L"Fixture", is_taken), L"Fixture2");
    EXPECT_EQ(FirstFreeName(L"Gauge", is_taken), L"Gauge");
}

ComparedAttribute Distribution() {
    ComparedAttribute attribute;
    attribute.name = L"Shape";
    attribute.data_type = L"{D0000000-0000-0000-0000-000000000001}";
    attribute.measure_unit = L"mm";
    attribute.precision = 2;
    return attribute;
}

struct ChangeCase {
    const char* name;
    void (*change)(ComparedAttribute&);
    const wchar_t* list;
    const wchar_t* mark;
};

class AttributeChange : public testing::TestWithParam<ChangeCase> {};

TEST_P(AttributeChange, ListsTheWordsInReverseOrderOfTheTests) {
    ComparedAttribute user = Distribution();
    GetParam().change(user);
    const std::wstring list = ChangeList(user, Distribution());
    EXPECT_EQ(list, GetParam().list);
    EXPECT_EQ(ChangeMark(list), GetParam().mark);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AttributeChange,
    testing::Values(ChangeCase{"Nothing", [](ComparedAttribute&) {}, L"", L""},
                    ChangeCase{"UnitOnly", [](ComparedAttribute& a) { a.measure_unit = L"cm"; },
                               L", ЕИ", L"(! ЕИ)"},
                    ChangeCase{"NameAndPrecision",
                               [](ComparedAttribute& a) {
                                   a.name = L"Form";
                                   a.precision = 3;
                               },
                               L", точность, наименование", L"(! точность, наименование)"},
                    ChangeCase{"NameCaseCounts", [](ComparedAttribute& a) { a.name = L"shape"; },
                               L", наименование", L"(! наименование)"},
                    ChangeCase{
                        "AllNine",
                        [](ComparedAttribute& a) {
                            a.name = L"Form";
                            a.data_type = L"{D0000000-0000-0000-0000-000000000002}";
                            a.type = 1;
                            a.alias_name = L"fm";
                            a.function_code = L"Form = 0";
                            a.measure_unit = L"cm";
                            a.measure_entity = L"size";
                            a.forbid_input = true;
                            a.precision = 3;
                        },
                        L", точность, запрет ввода, класс ЕИ, ЕИ, функция, алиас, тип атрибута, "
                        L"тип данных, наименование",
                        L"(! точность, запрет ввода, класс ЕИ, ЕИ, функция, алиас, тип атрибута, "
                        L"тип данных, наименование)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConstraintListText, EachValueFollowedByASemicolon) {
    EXPECT_EQ(ConstraintList({}), L"");
    EXPECT_EQ(ConstraintList({L"A", L"B"}), L"A;B;");
}

struct SplitCase {
    const wchar_t* text;
    std::vector<std::wstring> lines;
};

TEST(SplitLinesOfCode, EndsLinesAtCrLfCrOrLf) {
    const SplitCase cases[] = {
        {L"", {}},
        {L"one", {L"one"}},
        {L"one\r\ntwo", {L"one", L"two"}},
        {L"one\rtwo\nthree", {L"one", L"two", L"three"}},
        {L"one\r\n", {L"one"}},
        {L"one\r\n\r\ntwo", {L"one", L"", L"two"}},
        {L"\n", {L""}},
        {L"one\n\rtwo", {L"one", L"", L"two"}},
    };
    for (const SplitCase& split : cases)
        EXPECT_EQ(SplitLines(split.text), split.lines) << testing::PrintToString(split.text);
}

TEST(FunctionComments, UserCodeBlockCommentsEveryLineAndEndsWithAnEmptyLine) {
    EXPECT_EQ(UserCodeBlock(L"(! функция)Part", L"Cost = 3\r\nCost = Cost + 1"),
              L"' (! функция)Part Код функции пользователя:\r\n'  Cost = 3\r\n'  Cost = Cost + 1"
              L"\r\n\r\n");
    EXPECT_EQ(UserCodeBlock(L"(! ЕИ)", L""), L"' (! ЕИ) Код функции пользователя:\r\n\r\n");
}

TEST(FunctionComments, DeletedFunctionNamesTheClassOfAnInheritedOne) {
    EXPECT_EQ(DeletedFunctionComment(L""), L"' (-) Функция удалена\r\n");
    EXPECT_EQ(DeletedFunctionComment(L"Part"), L"' (-Part) Функция удалена\r\n");
}

TEST(EventHandlers, StubHasTheKindsSignature) {
    EXPECT_EQ(EventHandlerStub(3), L"function OnDeleteFail(sender, objLocked)\r\n\r\nend function");
    EXPECT_EQ(EventHandlerStub(0),
              L"function OnMessage(sender, mode, errstring, ByRef res)\r\n\r\nend function");
    EXPECT_EQ(EventHandlerStub(25), L"function OnHiddenVBSError(sender, obj_from, hres, vb_func, "
                                    L"description)\r\n\r\nend function");
    EXPECT_EQ(EventHandlerStub(26), L"");
    EXPECT_EQ(EventHandlerStub(-1), L"");
}

TEST(EventHandlers, KindsLookedAtDependOnTheOwner) {
    const struct {
        bool owner, attribute;
        std::int32_t first, last;
    } cases[] = {
        {false, false, 0, 25}, {false, true, 0, 25}, {true, false, 19, 22}, {true, true, 23, 24}};
    for (const auto& kinds : cases) {
        const HandlerKinds got = HandlerKindsOf(kinds.owner, kinds.attribute);
        EXPECT_EQ(got.first, kinds.first) << kinds.owner << kinds.attribute;
        EXPECT_EQ(got.last, kinds.last) << kinds.owner << kinds.attribute;
    }
}

TEST(EventHandlers, CommentedHandlerIsTheStubThenTheOldLinesCommented) {
    EXPECT_EQ(CommentedHandler(19, L"a = 1\r\nb = 2"),
              L"function OnChange(sender, attr)\r\n\r\nend function\r\n' a = 1\r\n' b = 2\r\n");
}

TEST(ReportFile, NameIsNumberedFromOne) {
    EXPECT_EQ(ReportFileName(0), L"zsImportAppendedToSvr.log");
    EXPECT_EQ(ReportFileName(1), L"zsImportAppendedToSvr1.log");
    EXPECT_EQ(ReportFileName(12), L"zsImportAppendedToSvr12.log");
}

TEST(ReportText, EveryLineEndsWithCrLf) {
    ImportReport report;
    report.StartSection(ReportSection::AddedModules);
    report.AddedModule(L"UserTools");
    EXPECT_EQ(report.Text(), std::wstring(44, L'_') +
                                 L"\r\nГЛОБАЛЬНЫЕ МОДУЛИ, ДОБАВЛЕННЫЕ ПОЛЬЗОВАТЕЛЕМ\r\n"
                                 L"UserTools - добавлен модуль\r\n");
}

} // namespace
