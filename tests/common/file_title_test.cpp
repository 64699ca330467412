#include "common/file_title.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

TEST(FileTitle, NameWithoutFolderAndExtension) {
    const struct {
        const wchar_t* path;
        const wchar_t* title;
    } cases[] = {
        {L"C:\\Program Files\\Zelvar\\kvhost.exe", L"kvhost"},
        {L"C:\\dir.v2\\configurator", L"configurator"}, // a dot in a folder is no extension
        {L"C:/unix/style/host.EXE", L"host"},
        {L"archive.tar.gz", L"archive.tar"},
        {L"C:host.exe", L"host"},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileTitle(c.path), c.title) << "path: " << testing::PrintToString(c.path);
}

} // namespace
