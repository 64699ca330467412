// A text value of the registry as the tests read it back, independently of the library's own
// registry code.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kvtest {

// The value (the key's default value when name is null); nullopt when the key or value is absent.
inline std::optional<std::wstring> RegistryText(HKEY root, const std::wstring& key_name,
                                                const wchar_t* value_name = nullptr) {
    HKEY key;
    if (RegOpenKeyExW(root, key_name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t text[2048] = {};
    DWORD bytes = sizeof(text) - sizeof(wchar_t);
    const LONG status =
        RegQueryValueExW(key, value_name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &bytes);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(text);
}

} // namespace kvtest
