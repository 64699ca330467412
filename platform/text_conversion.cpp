#include "platform/text_conversion.h"

#include <windows.h>

namespace {

std::wstring ToWide(UINT code_page, std::string_view text) {
    if (text.empty())
        return {};
    const int length =
        MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

} // namespace

std::wstring WideFromAnsi(std::string_view text) {
    return ToWide(CP_ACP, text);
}

std::wstring WideFromUtf8(std::string_view text) {
    return ToWide(CP_UTF8, text);
}

std::string AnsiFromWide(std::wstring_view text) {
    if (text.empty())
        return {};
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), length,
                        nullptr, nullptr);
    return ansi;
}
