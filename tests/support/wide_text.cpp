#include "support/wide_text.h"

#include <windows.h>

namespace kvtest {
namespace {

std::wstring WideIn(UINT code_page, const std::string& text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string NarrowIn(UINT code_page, const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(code_page, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(code_page, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

} // namespace

std::wstring Widen(const std::string& ansi) {
    return WideIn(CP_ACP, ansi);
}

std::string Narrow(const std::wstring& wide, unsigned code_page) {
    return NarrowIn(code_page, wide);
}

std::wstring WideFromUtf8(const std::string& utf8) {
    return WideIn(CP_UTF8, utf8);
}

std::string Utf8FromWide(const std::wstring& wide) {
    return NarrowIn(CP_UTF8, wide);
}

std::wstring Extended(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.starts_with(L"\\\\?\\"))
        return path;
    return L"\\\\?\\" + path;
}

} // namespace kvtest
