// Writes the page of the structure with special characters through SaveAsHTMLFile, for the
// check in a real browser (browser_check.sh). The page's path comes in KV_EXPORT_SAMPLE_PAGE.
#include "kernel_model.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(SamplePage, WrittenForTheBrowser) {
    const char* path = std::getenv("KV_EXPORT_SAMPLE_PAGE");
    ASSERT_NE(path, nullptr) << "KV_EXPORT_SAMPLE_PAGE names the page to write";
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        export_test::KorvalithLibrary library;
        ASSERT_TRUE(library.Loaded());
        auto model = export_test::BuildModel(export_test::SpecialCharacterStructure());
        ASSERT_TRUE(model) << "the kernel stand-in zkernel.ZModel is not registered";
        EXPECT_EQ(library.SaveAsHTMLFile()(model.GetAddressOf(), path), 1);
    }
    CoUninitialize();
}
