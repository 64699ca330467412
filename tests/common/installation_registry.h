// The installation's registry values in the test prefix, removed before and after each test.
// Test programs that write them hold the CTest lock "zelvar_registry".
#pragma once

#include "platform/registry_values.h"

#include <gtest/gtest.h>

#include <string>

class InstallationRegistry : public testing::Test {
protected:
    void SetUp() override { RemoveAll(); }
    void TearDown() override { RemoveAll(); }

    static void RemoveAll() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"software\\morvek"); }

    static void SetText(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
        HKEY opened = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &opened, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(opened);
    }

    static void SetNumber(const wchar_t* key, const wchar_t* name, DWORD value) {
        HKEY opened = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &opened, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(opened, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof(value));
        RegCloseKey(opened);
    }
};
