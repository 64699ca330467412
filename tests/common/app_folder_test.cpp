// GetAppFolder against the registry and the file system of the test prefix.
#include "installation_registry.h"

#include "common/app_folder.h"

#include <shlobj.h>

#include <gtest/gtest.h>

using namespace kv;

namespace {

std::wstring Folder(int kind) {
    std::wstring path = L"unchanged";
    GetAppFolder(kind, path);
    return path;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class AppFolder : public InstallationRegistry {};

TEST_F(AppFolder, InstallPathLosesItsTrailingDelimiter) {
    SetText(InstallationKey, L"InstallPath", L"C:\\Zelvar\\");
    EXPECT_EQ(Folder(3), L"C:\\Zelvar\\Doc");
    EXPECT_EQ(Folder(8), L"C:\\Zelvar");
}

TEST_F(AppFolder, DirectoryIsUsedOnlyWithoutInstallPath) {
    SetText(InstallationKey, L"Directory", L"D:\\Other");
    EXPECT_EQ(Folder(1), L"D:\\Other\\Bin");
    SetText(InstallationKey, L"InstallPath", L"C:\\Zelvar");
    EXPECT_EQ(Folder(1), L"C:\\Zelvar\\Bin");
}

TEST_F(AppFolder, WithoutTheRegistryPathsStartAtTheDelimiter) {
    EXPECT_EQ(Folder(12), L"\\TPConvertor");
}

TEST_F(AppFolder, UnknownKindLeavesTheVariableUnchanged) {
    EXPECT_EQ(Folder(15), L"unchanged");
    EXPECT_EQ(Folder(-1), L"unchanged");
}

TEST_F(AppFolder, UserAndTemporaryFolders) {
    wchar_t documents[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents),
              S_OK);
    EXPECT_EQ(Folder(0), std::wstring(documents) + L"\\Мои технологии");
    wchar_t temporary[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temporary);
    std::wstring expected_temporary = temporary;
    expected_temporary.pop_back(); // the platform's trailing delimiter
    EXPECT_EQ(Folder(6), expected_temporary);
    EXPECT_EQ(Folder(14), expected_temporary + L"\\NewDocs");
}

TEST_F(AppFolder, ProfileFoldersAreCreatedOneLevelAtATime) {
    const std::wstring install = Folder(6) + L"\\kv_app_folder_test";
    RemoveDirectoryW((install + L"\\Data\\Profile\\Personal").c_str());
    RemoveDirectoryW((install + L"\\Data\\Profile").c_str());
    CreateDirectoryW(install.c_str(), nullptr);
    CreateDirectoryW((install + L"\\Data").c_str(), nullptr);
    SetText(InstallationKey, L"InstallPath", install);

    // Its parent is missing: the path comes back, the folder is not made.
    EXPECT_EQ(Folder(11), install + L"\\Data\\Profile\\Personal");
    EXPECT_FALSE(Exists(install + L"\\Data\\Profile\\Personal"));
    EXPECT_EQ(Folder(10), install + L"\\Data\\Profile");
    EXPECT_TRUE(Exists(install + L"\\Data\\Profile"));
    Folder(11);
    EXPECT_TRUE(Exists(install + L"\\Data\\Profile\\Personal"));
    // Kinds that are never created.
    EXPECT_EQ(Folder(9), install + L"\\Samples");
    EXPECT_FALSE(Exists(install + L"\\Samples"));

    RemoveDirectoryW((install + L"\\Data\\Profile\\Personal").c_str());
    RemoveDirectoryW((install + L"\\Data\\Profile").c_str());
    RemoveDirectoryW((install + L"\\Data").c_str());
    RemoveDirectoryW(install.c_str());
}

TEST_F(AppFolder, SettingsFolderIsReturnedEvenWhenItsParentsAreMissing) {
    wchar_t application_data[MAX_PATH] = {};
    ASSERT_EQ(
        SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, application_data),
        S_OK);
    const std::wstring parent = std::wstring(application_data) + L"\\MORVEK\\Zelvar";
    const std::wstring expected = parent + L"\\4.0";
    if (!Exists(parent)) {
        EXPECT_EQ(Folder(13), expected);
        EXPECT_FALSE(Exists(expected));
    }
    CreateDirectoryW((std::wstring(application_data) + L"\\MORVEK").c_str(), nullptr);
    CreateDirectoryW(parent.c_str(), nullptr);
    EXPECT_EQ(Folder(13), expected);
    EXPECT_TRUE(Exists(expected));
}

} // namespace
