#include "platform/registry_values.h"

#include "platform/win_owners.h"

namespace kv {

RegistryText ReadRegistryText(HKEY root, const wchar_t* key, const wchar_t* value) {
    RegistryText result;
    RegistryKey opened;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, opened.Out()) != ERROR_SUCCESS)
        return result;
    // The value may change between asking its size and reading it: ask again until it fits.
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(opened.Get(), value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return result;
        if (type != REG_SZ && type != REG_EXPAND_SZ) {
            result.state = RegistryValueState::NotText;
            return result;
        }
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        DWORD read_size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LONG status = RegQueryValueExW(opened.Get(), value, nullptr, &type,
                                             reinterpret_cast<BYTE*>(text.data()), &read_size);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            return result;
        text.resize(read_size / sizeof(wchar_t));
        // Stored text may or may not end with its terminator.
        while (!text.empty() && text.back() == L'\0')
            text.pop_back();
        result.state = RegistryValueState::Text;
        result.text = std::move(text);
        return result;
    }
    return result;
}

} // namespace kv
