#include "difference_files.h"

#include "support/golden.h"

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

std::string FixturePath(const char* name) {
    return std::string(KV_DIFFERENCE_FILES) + "fixtures/" + name;
}

std::string ExpectedText(const char* name) {
    return kvtest::GoldenText(KV_DIFFERENCE_GOLDEN_DIR, name);
}

void LoadStructure(IZModel* model, const std::string& path) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), text, length);
    EXPECT_EQ(model->zrLoadModel(text, nullptr, 2), S_OK) << "loading " << path;
    SysFreeString(text);
}
