#include "difference_files.h"

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

constexpr UINT kWindows1251 = 1251;

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << "cannot open " << path;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string Windows1251FromUtf8(const std::string& utf8) {
    const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                               static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                        wide.data(), wideLength);
    const int length =
        WideCharToMultiByte(kWindows1251, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kWindows1251, 0, wide.data(), wideLength, text.data(), length, nullptr,
                        nullptr);
    return text;
}

} // namespace

std::string FixturePath(const char* name) {
    return std::string(KV_DIFFERENCE_FILES) + "fixtures/" + name;
}

std::string ExpectedText(const char* name) {
    const std::string text =
        Windows1251FromUtf8(ReadBytes(std::string(KV_DIFFERENCE_FILES) + "golden/" + name));
    std::string lines;
    lines.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n')
            lines += '\r';
        lines += c;
    }
    return lines;
}

void LoadStructure(IZModel* model, const std::string& path) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), text, length);
    EXPECT_EQ(model->zrLoadModel(text, nullptr, 2), S_OK) << "loading " << path;
    SysFreeString(text);
}
