// The folder of every kind that GetAppFolder knows, from given roots.
#include "common/app_folder_paths.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

const AppFolderRoots roots{L"C:\\Zelvar", L"C:\\Users\\u\\Documents",
                           L"C:\\Users\\u\\AppData\\Roaming", L"C:\\Temp"};

TEST(AppFolderPath, EveryKindHasItsFolder) {
    const wchar_t* expected[AppFolderKindCount] = {
        L"C:\\Users\\u\\Documents\\Мои технологии",
        L"C:\\Zelvar\\Bin",
        L"C:\\Zelvar\\Data",
        L"C:\\Zelvar\\Doc",
        L"C:\\Zelvar\\Icons",
        L"C:\\Zelvar\\Libs",
        L"C:\\Temp",
        L"C:\\Zelvar\\Template",
        L"C:\\Zelvar",
        L"C:\\Zelvar\\Samples",
        L"C:\\Zelvar\\Data\\Profile",
        L"C:\\Zelvar\\Data\\Profile\\Personal",
        L"C:\\Zelvar\\TPConvertor",
        L"C:\\Users\\u\\AppData\\Roaming\\MORVEK\\Zelvar\\4.0",
        L"C:\\Temp\\NewDocs",
    };
    for (int kind = 0; kind < AppFolderKindCount; ++kind)
        EXPECT_EQ(AppFolderPath(kind, roots), std::optional<std::wstring>(expected[kind]))
            << "kind " << kind;
}

TEST(AppFolderPath, UnknownKindsHaveNone) {
    for (int kind : {-1, 15, 1000})
        EXPECT_EQ(AppFolderPath(kind, roots), std::nullopt) << kind;
}

TEST(AppFolderPath, WithoutInstallationFolderPathsStartAtTheDelimiter) {
    EXPECT_EQ(AppFolderPath(3, AppFolderRoots{}), std::optional<std::wstring>(L"\\Doc"));
    EXPECT_EQ(AppFolderPath(8, AppFolderRoots{}), std::optional<std::wstring>(L""));
}

TEST(AppFolderPath, OnlyProfileFoldersAndSettingsAreCreated) {
    for (int kind = 0; kind < AppFolderKindCount; ++kind)
        EXPECT_EQ(AppFolderCreatedWhenMissing(kind), kind == 10 || kind == 11 || kind == 13)
            << kind;
}

TEST(WithoutTrailingDelimiter, RemovesOneDelimiter) {
    EXPECT_EQ(WithoutTrailingDelimiter(L"C:\\Zelvar\\"), L"C:\\Zelvar");
    EXPECT_EQ(WithoutTrailingDelimiter(L"C:\\Zelvar/"), L"C:\\Zelvar");
    EXPECT_EQ(WithoutTrailingDelimiter(L"C:\\Zelvar"), L"C:\\Zelvar");
    EXPECT_EQ(WithoutTrailingDelimiter(L""), L"");
}

} // namespace
