// Paths as the library reaches files: the full path's length decides the extended-length form,
// so a short relative name in a deep current folder still reaches its file.
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

using namespace kv;

namespace {

// A folder of about the given full length below the temporary folder, made current for the
// test; the previous current folder comes back at the end.
class DeepCurrentFolder {
public:
    explicit DeepCurrentFolder(std::size_t length) {
        wchar_t previous[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, previous);
        previous_ = previous;
        std::wstring folder = TemporaryFolder() + L"kv_paths_" +
                              std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
        made_.push_back(folder);
        while (folder.size() + 1 < length) {
            folder += L"\\" + std::wstring(std::min<std::size_t>(40, length - folder.size() - 1), L'd');
            CreateDirectoryW(folder.c_str(), nullptr);
            made_.push_back(folder);
        }
        path_ = folder;
        current_ = SetCurrentDirectoryW(folder.c_str()) != FALSE;
    }
    DeepCurrentFolder(const DeepCurrentFolder&) = delete;
    DeepCurrentFolder& operator=(const DeepCurrentFolder&) = delete;
    ~DeepCurrentFolder() {
        SetCurrentDirectoryW(previous_.c_str());
        for (auto folder = made_.rbegin(); folder != made_.rend(); ++folder)
            RemoveDirectoryW(folder->c_str());
    }

    bool IsCurrent() const { return current_; }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring previous_, path_;
    std::vector<std::wstring> made_;
    bool current_ = false;
};

struct RelativeName {
    const char* name;
    std::size_t folder_length;
    std::size_t name_length;
    bool extended;
};

class RelativeNames : public testing::TestWithParam<RelativeName> {};

TEST_P(RelativeNames, TheFullPathsLengthDecidesAndTheFileIsReached) {
    const DeepCurrentFolder folder(GetParam().folder_length);
    ASSERT_TRUE(folder.IsCurrent()) << "cannot enter " << testing::PrintToString(folder.Path());
    const std::wstring name = std::wstring(GetParam().name_length - 4, L'n') + L".txt";

    const std::wstring reached = ExtendedPath(name);
    EXPECT_EQ(reached.starts_with(L"\\\\?\\"), GetParam().extended)
        << testing::PrintToString(reached);
    if (!GetParam().extended)
        EXPECT_EQ(reached, name) << "a short path stays as given";

    HANDLE file = CreateFileW(reached.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    CloseHandle(file);
    EXPECT_NE(GetFileAttributesW(ExtendedPath(folder.Path() + L"\\" + name).c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(DeleteFileW(reached.c_str()));
}

INSTANTIATE_TEST_SUITE_P(Paths, RelativeNames,
                         testing::Values(RelativeName{"ShortFolderShortName", 60, 12, false},
                                         RelativeName{"DeepFolderShortName", 230, 40, true},
                                         RelativeName{"DeepFolderLongName", 230, 120, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Paths, EdgesOfTheRule) {
    EXPECT_EQ(ExtendedPath(L""), L"") << "nothing to extend";
    EXPECT_EQ(ExtendedPath(L"\\\\?\\C:\\x"), L"\\\\?\\C:\\x") << "already extended";
    const std::wstring unc = L"\\\\server\\share\\" + std::wstring(250, L'u');
    EXPECT_EQ(ExtendedPath(unc), L"\\\\?\\UNC\\server\\share\\" + std::wstring(250, L'u'));
    EXPECT_TRUE(TemporaryFolder().ends_with(L'\\'));
    const std::wstring documents = DocumentsFolder(nullptr);
    EXPECT_TRUE(documents.empty() || documents.ends_with(L'\\'));
}

} // namespace
