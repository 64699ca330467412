// Registration through the real client (regsvr32): exactly the keys of the in-process server
// and the type library, and their removal.
#include "support/process.h"
#include "support/registry_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <korvalith.h>

#include <filesystem>
#include <optional>
#include <string>

namespace {

std::wstring ThisFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path().wstring();
}

std::wstring LibraryPath() {
    return ThisFolder() + L"\\korvalith.dll";
}

DWORD Regsvr32(const std::wstring& options, const std::wstring& path) {
    return kvtest::RunProcess(L"regsvr32.exe " + options + L" \"" + path + L"\"").exit_code;
}

// A text value under the classes root; nullopt when the key or value is absent.
std::optional<std::wstring> ClassesValue(const std::wstring& key_name,
                                         const wchar_t* value_name = nullptr) {
    return kvtest::RegistryText(HKEY_CLASSES_ROOT, key_name, value_name);
}

bool ClassesKeyExists(const std::wstring& key_name) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key_name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

const std::wstring clsid_key = L"CLSID\\{022678DA-9BA3-4BFA-AD45-577F4D583030}";
const std::wstring typelib_key = L"TypeLib\\{2C74D468-204F-46C7-BD49-DFF5391C316C}";

void ExpectRegisteredAt(const std::wstring& server_path) {
    const struct {
        std::wstring key;
        const wchar_t* value;
        std::wstring expected;
    } values[] = {
        {clsid_key, nullptr, L"ZScriptHelper Object"},
        {clsid_key + L"\\InprocServer32", nullptr, server_path},
        {clsid_key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {clsid_key + L"\\ProgID", nullptr, L"korvalith.ZScriptHelper"},
        {clsid_key + L"\\Version", nullptr, L"1.0"},
        {clsid_key + L"\\TypeLib", nullptr, L"{2C74D468-204F-46C7-BD49-DFF5391C316C}"},
        {L"korvalith.ZScriptHelper", nullptr, L"ZScriptHelper Object"},
        {L"korvalith.ZScriptHelper\\Clsid", nullptr, L"{022678DA-9BA3-4BFA-AD45-577F4D583030}"},
        {typelib_key + L"\\1.0", nullptr, L"korvalith Library"},
    };
    for (const auto& v : values)
        EXPECT_EQ(ClassesValue(v.key, v.value), v.expected)
            << testing::PrintToString(v.key) << " " << testing::PrintToString(v.value);

    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(L"korvalith.ZScriptHelper", &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_ZScriptHelper));
}

void ExpectUnregistered() {
    EXPECT_FALSE(ClassesKeyExists(clsid_key));
    EXPECT_FALSE(ClassesKeyExists(L"korvalith.ZScriptHelper"));
    EXPECT_FALSE(ClassesKeyExists(typelib_key));
    EXPECT_FALSE(ClassesKeyExists(L"Interface\\{D750E93D-2983-4619-BE0E-391117D1D04D}"));
}

class Registration : public testing::Test {
protected:
    // Whatever a test did, the library ends registered from its build folder.
    void TearDown() override { EXPECT_EQ(Regsvr32(L"/s", LibraryPath()), 0u); }
};

TEST_F(Registration, Regsvr32WritesTheServerAndTypeLibraryKeys) {
    ASSERT_EQ(Regsvr32(L"/s", LibraryPath()), 0u);
    ExpectRegisteredAt(LibraryPath());
    EXPECT_TRUE(ClassesKeyExists(L"Interface\\{D750E93D-2983-4619-BE0E-391117D1D04D}"));
}

TEST_F(Registration, Regsvr32UnregisterRemovesEveryKey) {
    ASSERT_EQ(Regsvr32(L"/s", LibraryPath()), 0u);
    ASSERT_EQ(Regsvr32(L"/s /u", LibraryPath()), 0u);
    ExpectUnregistered();
    // Unregistering what is not registered is no failure.
    EXPECT_EQ(Regsvr32(L"/s /u", LibraryPath()), 0u);
}

TEST_F(Registration, PathWithASpaceIsRegisteredInItsShortForm) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path folder = std::filesystem::path(temp) / L"kv frame test";
    std::filesystem::create_directories(folder);
    const std::filesystem::path copy = folder / L"korvalith.dll";
    std::filesystem::copy_file(LibraryPath(), copy,
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_EQ(Regsvr32(L"/s", copy.wstring()), 0u);

    wchar_t short_path[MAX_PATH];
    ASSERT_NE(GetShortPathNameW(copy.c_str(), short_path, MAX_PATH), 0u);
    EXPECT_EQ(std::wstring(short_path).find(L' '), std::wstring::npos);
    EXPECT_EQ(ClassesValue(clsid_key + L"\\InprocServer32"), std::wstring(short_path));

    Regsvr32(L"/s /u", copy.wstring());
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

} // namespace
