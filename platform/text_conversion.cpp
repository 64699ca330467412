#include "platform/text_conversion.h"

#include "platform/barriers.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cwchar>
#include <stdexcept>
#include <system_error>

namespace kv {

namespace {

[[noreturn]] void ThrowHresult(HRESULT hr, const char* what) {
    throw std::system_error(static_cast<int>(hr), std::system_category(), what);
}

// One character: a code point, both halves of a surrogate pair.
std::size_t CharacterLength(std::wstring_view text, std::size_t at) {
    const bool pair =
        at + 1 < text.size() && IS_HIGH_SURROGATE(text[at]) && IS_LOW_SURROGATE(text[at + 1]);
    return pair ? 2 : 1;
}

// The size of the text in CP_ACP; `lossy` tells whether a character had no exact counterpart.
int AnsiSize(std::wstring_view text, BOOL* lossy) {
    // A UTF-8 code page represents everything, and takes no flag.
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         GetACP() == CP_UTF8 ? nullptr : lossy);
    if (size <= 0)
        ThrowHresult(HRESULT_FROM_WIN32(GetLastError()), "WideCharToMultiByte");
    return size;
}

// "U+2603": the code point of the character at `at`.
std::wstring CodePointName(std::wstring_view text, std::size_t at) {
    unsigned long code = text[at];
    if (CharacterLength(text, at) == 2)
        code = 0x10000 + ((code - 0xD800) << 10) + (text[at + 1] - 0xDC00);
    wchar_t name[16];
    swprintf(name, 16, L"U+%04lX", code);
    return name;
}

[[noreturn]] void RefuseText(std::wstring_view text) {
    std::size_t at = 0;
    for (BOOL lossy = FALSE; at < text.size(); at += CharacterLength(text, at)) {
        AnsiSize(text.substr(at, CharacterLength(text, at)), &lossy);
        if (lossy)
            break;
    }
    // A long text (a module, function code) is named by its beginning.
    constexpr std::size_t kShownLength = 80;
    const std::wstring shown = text.size() <= kShownLength
                                   ? std::wstring(text)
                                   : std::wstring(text.substr(0, kShownLength)) + L"...";
    throw LibraryError(HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION),
                       L"Текст \"" + shown + L"\" нельзя записать в сценарий: символа " +
                           CodePointName(text, std::min(at, text.size() - 1)) +
                           L" нет в кодовой странице системы");
}

// The most bytes the ANSI code page writes for one UTF-16 unit (2 for a double-byte code page).
int LongestAnsiCharacter() {
    static const int longest = [] {
        CPINFO info = {};
        return GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 0 ? static_cast<int>(info.MaxCharSize)
                                                                : 0;
    }();
    return longest;
}

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

bool InAnsiCodePage(wchar_t unit) {
    if (IS_HIGH_SURROGATE(unit) || IS_LOW_SURROGATE(unit))
        return false;
    char bytes[8];
    BOOL lossy = FALSE;
    const int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &unit, 1, bytes,
                                            sizeof bytes, nullptr,
                                            GetACP() == CP_UTF8 ? nullptr : &lossy);
    return written > 0 && !lossy;
}

// The text converted into `result`, whose storage is reused.
bool AnsiInto(std::string& result, std::wstring_view text, Unrepresentable unrepresentable) {
    result.clear();
    if (text.empty())
        return true;
    if (text.size() > INT_MAX / 4)
        throw std::length_error("AnsiInto: text too long");
    const int wideLength = static_cast<int>(text.size());
    // One conversion into room for the longest result, telling at the same time whether a
    // character had no exact counterpart; the size is asked first only where the code page's
    // longest character is unknown.
    BOOL lossy = FALSE;
    int size = wideLength * LongestAnsiCharacter();
    if (size == 0)
        size = AnsiSize(text, &lossy);
    result.resize(static_cast<std::size_t>(size));
    // A UTF-8 code page represents everything, and takes no flag.
    const int written =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wideLength, result.data(),
                            size, nullptr, GetACP() == CP_UTF8 ? nullptr : &lossy);
    if (written <= 0)
        ThrowHresult(HRESULT_FROM_WIN32(GetLastError()), "WideCharToMultiByte");
    if (!lossy) {
        result.resize(static_cast<std::size_t>(written));
        return true;
    }
    if (unrepresentable == Unrepresentable::Refuse)
        RefuseText(text);
    if (unrepresentable == Unrepresentable::Report)
        return false;
    // The platform's default character may stand for a whole surrogate pair: "?" goes in for
    // each code unit instead, so that what a reader sees does not depend on the platform.
    std::wstring shown(text);
    for (wchar_t& unit : shown) {
        if (!InAnsiCodePage(unit))
            unit = L'?';
    }
    AnsiInto(result, shown, Unrepresentable::Refuse);
    return false;
}

std::string ShownAnsiFromWide(std::wstring_view text) {
    std::string result;
    AnsiInto(result, text, Unrepresentable::Replace);
    return result;
}

std::string ScenarioAnsiFromWide(std::wstring_view text) {
    std::string result;
    AnsiInto(result, text, Unrepresentable::Refuse);
    return result;
}

} // namespace kv
