// The export table as the host sees it: every export at its fixed ordinal under its
// undecorated name, nothing else, and the calling form of the arguments.
#include "support/temporary_folder_override.h"
#include "support/korvalith_library.h"

#include <gtest/gtest.h>

#include <zkernel.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

namespace {

using kvtest::KorvalithLibrary;

struct ExportEntry {
    const char* name;
    WORD ordinal;
};

constexpr ExportEntry export_table[] = {
    {"scriptClassLink", 1},   {"scriptExecute", 2},        {"scriptEnd", 3},
    {"scriptModule", 4},      {"scriptDifference", 5},     {"scriptSecurity", 6},
    {"scriptConstraint", 7},  {"scriptFilter", 8},         {"scriptClsRemove", 9},
    {"scriptClass", 10},      {"scriptCValMove", 11},      {"scriptCValRemoveName", 12},
    {"scriptCValRemove", 13}, {"scriptClassValue", 14},    {"scriptStart", 15},
    {"SaveAsHTML", 16},       {"DllUnregisterServer", 17}, {"DllRegisterServer", 18},
    {"DllCanUnloadNow", 19},  {"DllGetClassObject", 20},   {"scriptDifferenceFile", 21},
    {"SaveAsHTMLFile", 22},
};

class Exports : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(library_.Get(), nullptr) << "korvalith.dll not loaded"; }
    KorvalithLibrary library_;
};

TEST_F(Exports, EveryNameIsAtItsOrdinal) {
    for (const ExportEntry& entry : export_table) {
        void* by_name = library_.ByName<void*>(entry.name);
        void* by_ordinal = library_.ByOrdinal<void*>(entry.ordinal);
        EXPECT_NE(by_name, nullptr) << entry.name;
        EXPECT_EQ(by_name, by_ordinal) << entry.name << " is not at ordinal " << entry.ordinal;
    }
}

// The export directory itself: ordinals 1 to 22 and exactly these names, undecorated.
TEST_F(Exports, TableHoldsExactlyTheseUndecoratedNames) {
    auto* base = reinterpret_cast<const BYTE*>(library_.Get());
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    // The headers of this architecture: the 64-bit optional header is laid out differently.
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    EXPECT_EQ(exports->Base, 1u);
    EXPECT_EQ(exports->NumberOfFunctions, std::size(export_table));
    std::set<std::string> names;
    auto* name_addresses = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD index = 0; index < exports->NumberOfNames; ++index)
        names.insert(reinterpret_cast<const char*>(base + name_addresses[index]));
    std::set<std::string> expected;
    for (const ExportEntry& entry : export_table)
        expected.insert(entry.name);
    EXPECT_EQ(names, expected);
}

// Arguments as the host passes them: strings by address (null allowed), booleans in 32-bit
// slots, interfaces by reference to a variable that may hold no object. A generator with no
// recording open answers false whatever the arguments.
TEST_F(Exports, CallingFormWithNullStringsAndHighBooleanBits) {
    using LinkExport = unsigned char(__stdcall*)(const char*, const char*, DWORD);
    using FilterExport = unsigned char(__stdcall*)(IZFilterVector**, const char*, DWORD, DWORD);
    using ClassExport =
        unsigned char(__stdcall*)(IZClass**, const char*, DWORD, DWORD, DWORD, DWORD);
    using RemoveExport = unsigned char(__stdcall*)(const char*);
    using MoveExport = unsigned char(__stdcall*)(IZClassValue**, IZClassValue**);

    const auto link = library_.ByOrdinal<LinkExport>(1);
    const auto filter = library_.ByOrdinal<FilterExport>(8);
    const auto cls = library_.ByOrdinal<ClassExport>(10);
    const auto remove = library_.ByOrdinal<RemoveExport>(9);
    const auto move = library_.ByOrdinal<MoveExport>(11);
    ASSERT_TRUE(link && filter && cls && remove && move);

    IZFilterVector* no_filters = nullptr;
    IZClass* no_class = nullptr;
    IZClassValue* no_attribute = nullptr;
    for (DWORD flag : {DWORD{0}, DWORD{1}, DWORD{256}, DWORD{0xFFFFFFFF}}) {
        EXPECT_EQ(link(nullptr, nullptr, flag), 0);
        EXPECT_EQ(link("A", "", flag), 0);
        EXPECT_EQ(filter(&no_filters, nullptr, flag, flag), 0);
        EXPECT_EQ(cls(&no_class, nullptr, flag, flag, flag, flag), 0);
    }
    EXPECT_EQ(remove(nullptr), 0);
    EXPECT_EQ(move(&no_attribute, &no_attribute), 0);
    EXPECT_EQ(no_filters, nullptr) << "an export changed the caller's variable";
    EXPECT_EQ(no_attribute, nullptr) << "an export changed the caller's variable";
}

std::set<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
    std::set<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        files.insert(entry.path());
    return files;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The shared temporary folder gains and loses the folders of every test process running
// beside this one: the library is loaded with a temporary folder of the test's own.
class OwnTemporaryFolder {
public:
    OwnTemporaryFolder() : path_(MadePath()), override_(path_) {}
    // Only while empty: a file the library left stays to be seen.
    ~OwnTemporaryFolder() { RemoveDirectoryW(path_.c_str()); }

    bool Made() const { return GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    const std::wstring& Path() const { return path_; }

private:
    static std::wstring MadePath() {
        wchar_t shared[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, shared);
        std::wstring path =
            std::wstring(shared) + L"kv_load_unload_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }

    std::wstring path_;
    TemporaryFolderOverride override_;
};

TEST(LoadAndUnload, LeavesNoFileAndShowsNothing) {
    const OwnTemporaryFolder own;
    ASSERT_TRUE(own.Made());
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    ASSERT_EQ(std::wstring(temp), own.Path() + L"\\");
    const auto before = FilesIn(temp);
    {
        KorvalithLibrary library;
        ASSERT_NE(library.Get(), nullptr);
    }
    EXPECT_EQ(FilesIn(temp), before);
    int windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
    EXPECT_EQ(windows, 0);
    EXPECT_EQ(GetModuleHandleW(L"korvalith.dll"), nullptr) << "the library stayed loaded";
}

} // namespace
