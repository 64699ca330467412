// Reading the installation's registry values: keys are opened for reading only, never created.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kv {

// The installation's keys under HKEY_LOCAL_MACHINE.
constexpr const wchar_t* InstallationKey = L"software\\morvek\\zelvar\\4.0";
constexpr const wchar_t* FontScaleKey = L"software\\morvek\\zelvar\\4.0\\Font";

enum class RegistryValueState { Missing, NotText, Text };

struct RegistryText {
    RegistryValueState state = RegistryValueState::Missing; // also when the key is missing
    std::wstring text;
};

// A string value (REG_SZ or REG_EXPAND_SZ, unexpanded) at any length.
RegistryText ReadRegistryText(HKEY root, const wchar_t* key, const wchar_t* value);

} // namespace kv
