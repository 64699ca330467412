#include "com/server_store_folder.h"

#include <windows.h>

namespace zk {

namespace {

std::wstring EnvironmentValue(const wchar_t* name) {
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    size = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(size);
    return value;
}

std::wstring RegistryValue() {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\zkernel", L"ServerStore",
                     RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS)
        return {};
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\zkernel", L"ServerStore",
                     RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ, nullptr, value.data(),
                     &bytes) != ERROR_SUCCESS)
        return {};
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

} // namespace

std::wstring ServerStoreFolder() {
    std::wstring folder = EnvironmentValue(L"ZKERNEL_SERVER_STORE");
    return folder.empty() ? RegistryValue() : folder;
}

} // namespace zk
