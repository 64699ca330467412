// Registration through the real client (regsvr32): exactly the keys of the in-process server
// and the type library, and their removal.
#include "support/pe_imports.h"
#include "support/process.h"
#include "support/registry_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <korvalith.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>
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

// The DLL as it ships: made from the one beside the tests, stripped.
std::wstring ShippedPath() {
    return std::filesystem::path(ThisFolder()).parent_path().wstring() + L"\\dist\\korvalith.dll";
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

// --- The DLL as it ships ----------------------------------------------------------------------

TEST_F(Registration, ShippedDllRegistersAndUnregistersWithRegsvr32) {
    ASSERT_EQ(Regsvr32(L"/s", ShippedPath()), 0u);
    ExpectRegisteredAt(ShippedPath());
    ASSERT_EQ(Regsvr32(L"/s /u", ShippedPath()), 0u);
    ExpectUnregistered();
}

// The scripts beside the shipped DLL register it where it lies and remove that registration.
TEST_F(Registration, InstallAndUninstallScriptsRegisterTheShippedDllWhereItLies) {
    const std::wstring folder = std::filesystem::path(ShippedPath()).parent_path().wstring();
    const kvtest::ProcessOutcome install =
        kvtest::RunProcess(L"cmd.exe /c \"" + folder + L"\\install.cmd\"");
    EXPECT_EQ(install.exit_code, 0u) << install.output;
    EXPECT_NE(install.output.find("korvalith.dll is registered from"), std::string::npos)
        << install.output;
    ExpectRegisteredAt(ShippedPath());

    const kvtest::ProcessOutcome uninstall =
        kvtest::RunProcess(L"cmd.exe /c \"" + folder + L"\\uninstall.cmd\"");
    EXPECT_EQ(uninstall.exit_code, 0u) << uninstall.output;
    ExpectUnregistered();
}

// A host machine has only the system's DLLs: no runtime of the compiler may be needed.
TEST(ShippedDll, ImportsOnlyLibrariesOfTheSystem) {
    const std::vector<std::string> names = kvtest::ImportedDllNames(ShippedPath());
    ASSERT_FALSE(names.empty());
    wchar_t system[MAX_PATH];
    ASSERT_NE(GetSystemDirectoryW(system, MAX_PATH), 0u);
    for (const std::string& name : names) {
        std::string lower(name);
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const char* runtime : {"libstdc++", "libgcc_s", "libwinpthread"})
            EXPECT_EQ(lower.find(runtime), std::string::npos) << name;
        const std::wstring in_system =
            std::wstring(system) + L"\\" + std::wstring(name.begin(), name.end());
        EXPECT_NE(GetFileAttributesW(in_system.c_str()), INVALID_FILE_ATTRIBUTES) << name;
    }
}

// One string of the version resource's first translation.
std::wstring VersionString(const std::vector<BYTE>& data, const wchar_t* name) {
    struct Translation {
        WORD language;
        WORD code_page;
    }* translations = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translations), &size) ||
        size < sizeof(Translation))
        return L"(no translation)";
    wchar_t query[64];
    swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translations[0].language,
             translations[0].code_page, name);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(data.data(), query, reinterpret_cast<void**>(&value), &size) || !value)
        return L"(none)";
    return value;
}

TEST(ShippedDll, ReportsTheProjectsVersion) {
    const std::wstring path = ShippedPath();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_NE(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixed_size = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixed_size));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(KV_VERSION_MINOR, KV_VERSION_MAJOR));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, KV_VERSION_PATCH));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(VersionString(data, L"FileVersion"), KV_VERSION);
    EXPECT_EQ(VersionString(data, L"ProductVersion"), KV_VERSION);
    EXPECT_EQ(VersionString(data, L"ProductName"), L"korvalith");
    EXPECT_EQ(VersionString(data, L"OriginalFilename"), L"korvalith.dll");
    EXPECT_NE(VersionString(data, L"FileDescription"), L"(none)");
}

// The debugging information left the DLL, which names the file that holds it.
TEST(ShippedDll, IsStrippedAndNamesItsDebugFile) {
    std::error_code error;
    const auto shipped = std::filesystem::file_size(ShippedPath(), error);
    ASSERT_FALSE(error);
    EXPECT_LT(shipped * 4, std::filesystem::file_size(LibraryPath()));
    EXPECT_TRUE(std::filesystem::exists(ShippedPath() + L".debug"));
    std::ifstream file(std::filesystem::path(ShippedPath()), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(bytes.find(std::string("korvalith.dll.debug\0", 20)), std::string::npos);
}

} // namespace
