#include "platform/system_error_text.h"

#include "platform/win_owners.h"

#include <cwchar>

namespace kv {

std::wstring SystemErrorText(HRESULT hr) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const LocalMemory owner(buffer);
    std::wstring text(buffer ? buffer : L"", buffer ? length : 0);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.'))
        text.pop_back();
    wchar_t code[16];
    std::swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text.empty() ? std::wstring(code) : text + L" (" + code + L")";
}

DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = GetLastError();
    return error != 0 ? error : fallback;
}

} // namespace kv
