#include "support/host_setting.h"

namespace kvtest {

HWND CreateOwnerWindow(const wchar_t* title, int width, int height) {
    return CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW, 0, 0, width, height, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

std::wstring ProcessTempFolder(const std::wstring& prefix) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    return std::wstring(temp) + prefix + std::to_wstring(GetCurrentProcessId()) + L"\\";
}

} // namespace kvtest
