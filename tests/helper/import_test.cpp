// zsImportAppendedToSvr against the kernel stand-in's server store: a user's work carried from
// three small structures into the server structure, checked in the stored structure and in the
// whole report text (both written by hand); the report's place and name; the errors that leave
// nothing stored and no report.
#include "import_fixture.h"

namespace {

using ImportTest = ServerStoreTest;

constexpr wchar_t kPlainReport[] = L"zsImportAppendedToSvr.log";

struct WholeImport {
    const char* name;
    bool mark;
    const wchar_t* expected_server;
    bool owners_as_texts = false; // the kernel answers the handler owners as texts
};

class ImportOfUserWork : public ServerStoreTest, public testing::WithParamInterface<WholeImport> {};

// The user added classes (one under a name the server has, one derived from another), attributes
// (a function one), links, a filter and a constraint, a module; deleted a class, an attribute
// and a filter; changed attributes (renamed, unit only, all nine properties, function code),
// filter constraints and their order, rights of two groups (and has a group the server lacks),
// the attribute order. The server holds the event group "UserGroup.xml".
TEST_P(ImportOfUserWork, BringsTheAdditionsReportsTheRestAndStoresTheServerStructure) {
    if (GetParam().owners_as_texts)
        SwitchKernel(&IZModelAdmin::zrSetHandlerOwnersAsTexts);
    PutInStore(L"server.ztp", L"structure.ztp");
    PutInStore(L"user.ztp", L"user.ztp");
    const std::string user_before = FileBytes(StorePath(L"user.ztp"));

    std::wstring report;
    ASSERT_EQ(Import(FixturePath(L"distribution.ztp"), L"user.ztp", GetParam().mark, report), S_OK)
        << testing::PrintToString(TakeErrorDescription());

    EXPECT_EQ(report, reports_ + L"\\" + kPlainReport);
    EXPECT_TRUE(SameBytes(FileBytes(report), GoldenReport("report")));
    EXPECT_TRUE(SameBytes(CanonicalStructure(StorePath(L"structure.ztp")),
                          CanonicalStructure(FixturePath(GetParam().expected_server))));
    EXPECT_EQ(FileBytes(StorePath(L"user.ztp")), user_before)
        << "the user's structure is read only";
}

INSTANTIATE_TEST_SUITE_P(MarksOnAndOff, ImportOfUserWork,
                         testing::Values(WholeImport{"Unmarked", false, L"expected_server.ztp"},
                                         WholeImport{"Marked", true, L"expected_server_marked.ztp"},
                                         WholeImport{"HandlerOwnersAsTexts", false,
                                                     L"expected_server.ztp", true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct IdenticalStructures {
    const char* name;
    const wchar_t* fixture;
    const char* golden;
};

class IdenticalTriple : public ServerStoreTest,
                        public testing::WithParamInterface<IdenticalStructures> {};

// Nothing differs: the nine underlines and headings; without the event group the pass's error
// is the nineteenth line, and the import still succeeds.
TEST_P(IdenticalTriple, WritesOnlyTheSectionHeadings) {
    PutInStore(GetParam().fixture, L"structure.ztp");
    PutInStore(GetParam().fixture, L"user.ztp");
    std::wstring report;
    ASSERT_EQ(Import(FixturePath(GetParam().fixture), L"user.ztp", true, report), S_OK)
        << testing::PrintToString(TakeErrorDescription());
    EXPECT_TRUE(SameBytes(FileBytes(report), GoldenReport(GetParam().golden)));
}

INSTANTIATE_TEST_SUITE_P(
    WithAndWithoutEventGroup, IdenticalTriple,
    testing::Values(IdenticalStructures{"WithUserGroup", L"server.ztp", "report_nothing_differs"},
                    IdenticalStructures{"WithoutUserGroup", L"distribution.ztp",
                                        "report_without_event_group"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImportTest, ReportTakesTheFirstFreeNumberAndNeverOverwrites) {
    PutInStore(L"server.ztp", L"structure.ztp");
    PutInStore(L"server.ztp", L"user.ztp");
    WriteFile(reports_ + L"\\zsImportAppendedToSvr.log", "older report");
    WriteFile(reports_ + L"\\zsImportAppendedToSvr1.log", "another older report");

    std::wstring report;
    ASSERT_EQ(Import(FixturePath(L"server.ztp"), L"user.ztp", false, report), S_OK);
    EXPECT_EQ(report, reports_ + L"\\zsImportAppendedToSvr2.log");
    EXPECT_TRUE(SameBytes(FileBytes(report), GoldenReport("report_nothing_differs")));
    EXPECT_EQ(FileBytes(reports_ + L"\\zsImportAppendedToSvr.log"), "older report");
    EXPECT_EQ(FileBytes(reports_ + L"\\zsImportAppendedToSvr1.log"), "another older report");
}

// A temporary folder longer than 256 characters is used whole, and the report beside it, past
// the classic path limit, is written.
TEST_F(ImportTest, ReportInATemporaryFolderOfAnyLength) {
    PutInStore(L"server.ztp", L"structure.ztp");
    PutInStore(L"server.ztp", L"user.ztp");
    std::wstring folder = root_;
    while (folder.size() < 250) {
        folder += L"\\" + std::wstring(std::min<std::size_t>(60, 257 - folder.size()), L'd');
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr))
            << testing::PrintToString(folder);
        RemoveFolderAtEnd(folder);
    }
    ASSERT_GT(folder.size(), 256u);
    ASSERT_LT(folder.size(), static_cast<std::size_t>(MAX_PATH));
    SetEnvironmentVariableW(L"TMP", folder.c_str());

    std::wstring report;
    ASSERT_EQ(Import(FixturePath(L"server.ztp"), L"user.ztp", false, report), S_OK)
        << testing::PrintToString(TakeErrorDescription());
    EXPECT_EQ(report, folder + L"\\" + kPlainReport);
    EXPECT_TRUE(SameBytes(FileBytes(report), GoldenReport("report_nothing_differs")));
}

// The user deleted an attribute that the server no longer has: the class's later attributes
// are still compared.
TEST_F(ImportTest, AttributeGoneFromTheServerLeavesTheLaterOnesCompared) {
    PutInStore(L"gone_server.ztp", L"structure.ztp");
    PutInStore(L"gone_user.ztp", L"user.ztp");
    std::wstring report;
    ASSERT_EQ(Import(FixturePath(L"gone_distribution.ztp"), L"user.ztp", true, report), S_OK)
        << testing::PrintToString(TakeErrorDescription());
    EXPECT_TRUE(SameBytes(FileBytes(report), GoldenReport("report_attribute_gone_from_server")));
}

// The report is text shown to a reader: a name with a character that the ANSI code page lacks
// shows it as "?", never as a look-alike that would name another class.
TEST_F(ImportTest, ReportShowsACharacterOutsideTheCodePageAsAQuestionMark) {
    PutInStore(L"gone_server.ztp", L"structure.ztp");
    WriteFile(StorePath(L"user.ztp"), R"({
  "format": "zkernel-structure",
  "version": 1,
  "classes": [
    {
      "guid": "{C0000000-0000-0000-0000-000000000031}",
      "name": "Item",
      "attributes": [
        { "guid": "{A0000000-0000-0000-0000-000000000032}", "name": "Later", "measureUnit": "kg" }
      ]
    },
    { "guid": "{C0000000-0000-0000-0000-000000000041}", "name": "\u00D8Gauge" },
    { "guid": "{C0000000-0000-0000-0000-000000000042}", "name": "\u2264Limit" },
    { "guid": "{C0000000-0000-0000-0000-000000000043}", "name": "\uD83D\uDE00Face" },
    { "guid": "{C0000000-0000-0000-0000-000000000044}", "name": "Area \u043C\u043C\u00B2" }
  ]
})");
    std::wstring report;
    ASSERT_EQ(Import(FixturePath(L"gone_distribution.ztp"), L"user.ztp", false, report), S_OK)
        << testing::PrintToString(TakeErrorDescription());
    const std::string bytes = FileBytes(report);
    // One "?" for each UTF-16 code unit: two for a character outside the BMP.
    for (const char* shown : {"\n?Gauge - ", "\n?Limit - ", "\n??Face - ", "\nArea \xEC\xEC? - "})
        EXPECT_NE(bytes.find(shown), std::string::npos) << shown << "\n" << bytes;
    EXPECT_EQ(bytes.find("OGauge"), std::string::npos) << bytes;
}

// A kernel whose lookup ignores case knows the server's filters "TOOLS" and "parts" as the
// distribution's "Tools" and "Parts", which the user deleted and reordered, while no server filter
// has exactly those names: each is re-created under the distribution's name with the marker alone
// as its caption and its constraints kept, the report says only what the user did, and the import
// goes on to the end.
TEST_F(ImportTest, MarkedFilterKnownOnlyUnderAnotherSpellingTakesTheMarkerAsCaption) {
    SwitchKernel(&IZModelAdmin::zrSetNameLookupIgnoresCase);
    PutInStore(L"case_server.ztp", L"structure.ztp");
    PutInStore(L"case_user.ztp", L"user.ztp");
    std::wstring report;
    ASSERT_EQ(Import(FixturePath(L"case_distribution.ztp"), L"user.ztp", true, report), S_OK)
        << testing::PrintToString(TakeErrorDescription());
    EXPECT_TRUE(SameBytes(FileBytes(report), GoldenReport("report_filters_in_other_case")));
    EXPECT_TRUE(SameBytes(CanonicalStructure(StorePath(L"structure.ztp")),
                          CanonicalStructure(FixturePath(L"case_expected_server.ztp"))));
}

struct FailingImport {
    const char* name;
    const wchar_t* server;       // fixture stored as "structure.ztp", or none
    const wchar_t* distribution; // fixture, or a file that does not exist
    const wchar_t* user;
    const wchar_t* message_start; // "" for the distribution file's own message
};

class ImportFailure : public ServerStoreTest, public testing::WithParamInterface<FailingImport> {};

// The method's own errors: E_INVALIDARG with the message, the result empty, nothing stored and
// no report written.
TEST_P(ImportFailure, StoresNothingAndWritesNoReport) {
    const FailingImport& failing = GetParam();
    if (failing.server)
        PutInStore(failing.server, L"structure.ztp");
    PutInStore(L"user.ztp", L"user.ztp");
    const std::string server_before = FileBytes(StorePath(L"structure.ztp"));
    const std::wstring distribution = std::wstring(failing.distribution).starts_with(L"missing")
                                          ? root_ + L"\\" + failing.distribution
                                          : FixturePath(failing.distribution);

    std::wstring report;
    EXPECT_EQ(Import(distribution, failing.user, true, report), E_INVALIDARG);
    const std::wstring message = TakeErrorDescription();
    EXPECT_EQ(report, L"");
    if (*failing.message_start)
        EXPECT_TRUE(message.starts_with(failing.message_start)) << testing::PrintToString(message);
    else
        EXPECT_EQ(message, distribution + L" - файл не найден");
    EXPECT_EQ(FileBytes(StorePath(L"structure.ztp")), server_before);
    EXPECT_EQ(FilesIn(reports_), std::vector<std::wstring>{});
}

INSTANTIATE_TEST_SUITE_P(
    Errors, ImportFailure,
    testing::Values(FailingImport{"MissingDistributionFile", L"server.ztp", L"missing.ztp",
                                  L"user.ztp", L""},
                    FailingImport{"MalformedServerStructure", L"malformed.ztp", L"distribution.ztp",
                                  L"user.ztp", L"Структуры не инициализированы: "},
                    FailingImport{"NoServerStructure", nullptr, L"distribution.ztp", L"user.ztp",
                                  L"Структуры не инициализированы: "},
                    FailingImport{"NoUserStructure", L"server.ztp", L"distribution.ztp",
                                  L"nobody.ztp", L"Структуры не инициализированы: "}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
