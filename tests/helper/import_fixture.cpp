#include "import_fixture.h"

#include "support/error_info.h"
#include "support/files.h"
#include "support/stand_in_model.h"
#include "support/wide_text.h"

#include <algorithm>

namespace {

using kvtest::Extended;

// Remembers an environment variable and sets it for this process.
void Override(const wchar_t* name, const std::wstring& value, std::wstring& saved, bool& had) {
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    had = length > 0 && length < 32768;
    saved = had ? std::wstring(buffer, length) : std::wstring();
    SetEnvironmentVariableW(name, value.c_str());
}

std::wstring Widened(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

void Restore(const wchar_t* name, const std::wstring& saved, bool had) {
    SetEnvironmentVariableW(name, had ? saved.c_str() : nullptr);
}

} // namespace

std::string GoldenReport(const char* name) {
    return kvtest::GoldenText(KV_IMPORT_GOLDEN_DIR, name);
}

std::wstring ServerStoreTest::FixturePath(const wchar_t* fixture) {
    return Widened(KV_IMPORT_FIXTURE_DIR) + L"\\" + fixture;
}

void ServerStoreTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    wchar_t temp[MAX_PATH + 1];
    ASSERT_NE(GetTempPathW(MAX_PATH + 1, temp), 0u);
    root_ = std::wstring(temp) + L"kv_import_" + std::to_wstring(GetCurrentProcessId());
    store_ = root_ + L"\\store";
    reports_ = root_ + L"\\reports";
    for (const std::wstring& folder : {root_, store_, reports_}) {
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
    }
    Override(L"ZKERNEL_SERVER_STORE", store_, saved_store_, had_store_);
    Override(L"TMP", reports_, saved_tmp_, had_tmp_);

    library_.emplace();
    ASSERT_TRUE(library_->Loaded());
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(library_->GetClassObject(CLSID_ZScriptHelper, IID_PPV_ARGS(&factory)), S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&helper_)), S_OK);
}

void ServerStoreTest::TearDown() {
    for (const auto& [admin, set] : switched_)
        (admin.Get()->*set)(VARIANT_FALSE);
    switched_.clear();
    helper_.Reset();
    CoFreeUnusedLibraries();
    CoUninitialize();
    library_.reset();
    Restore(L"ZKERNEL_SERVER_STORE", saved_store_, had_store_);
    Restore(L"TMP", saved_tmp_, had_tmp_);
    for (const std::wstring& file : made_files_)
        DeleteFileW(Extended(file).c_str());
    // Innermost first; only folders this test made, each removed only when empty.
    for (auto folder = made_folders_.rbegin(); folder != made_folders_.rend(); ++folder)
        RemoveDirectoryW(Extended(*folder).c_str());
    for (const std::wstring& folder : {reports_, store_, root_})
        RemoveDirectoryW(folder.c_str());
}

void ServerStoreTest::PutInStore(const wchar_t* fixture, const wchar_t* name) {
    const std::string bytes = FileBytes(FixturePath(fixture));
    ASSERT_FALSE(bytes.empty()) << "missing fixture " << testing::PrintToString(fixture);
    WriteFile(StorePath(name), bytes);
}

void ServerStoreTest::WriteFile(const std::wstring& path, const std::string& bytes) {
    RemoveAtEnd(path);
    kvtest::WriteFileBytes(path, bytes);
}

HRESULT ServerStoreTest::Import(const std::wstring& distribution, const wchar_t* user, bool mark,
                                std::wstring& report) {
    BSTR value = nullptr;
    const HRESULT hr = helper_->zsImportAppendedToSvr(Text(distribution.c_str()), Text(user),
                                                      mark ? VARIANT_TRUE : VARIANT_FALSE, &value);
    report = value ? std::wstring(value, SysStringLen(value)) : L"<null>";
    SysFreeString(value);
    if (!report.empty() && report != L"<null>")
        RemoveAtEnd(report);
    return hr;
}

void ServerStoreTest::SwitchKernel(KernelSwitch set) {
    ComPtr<IZModelAdmin> admin;
    ASSERT_EQ(kvtest::StandInModel().Model().As(&admin), S_OK);
    ASSERT_EQ((admin.Get()->*set)(VARIANT_TRUE), S_OK);
    switched_.emplace_back(admin, set);
}

std::wstring ServerStoreTest::TakeErrorDescription() {
    // Only an absent one shows as such: an empty description stays empty.
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info)
        return L"<no error information>";
    SetErrorInfo(0, info);
    info->Release();
    return kvtest::TakeErrorDescription();
}

std::string ServerStoreTest::CanonicalStructure(const std::wstring& path) {
    const ComPtr<IZModel> model = kvtest::StandInModel().Model();
    EXPECT_EQ(model->zrLoadModel(Text(path.c_str()), nullptr, 2), S_OK)
        << testing::PrintToString(path) << ": " << testing::PrintToString(TakeErrorDescription());
    const std::wstring canonical = root_ + L"\\canonical.ztp";
    EXPECT_EQ(model->zrSaveModel(Text(canonical.c_str()), nullptr), S_OK);
    std::string bytes = FileBytes(canonical);
    DeleteFileW(canonical.c_str());
    return bytes;
}

std::vector<std::wstring> ServerStoreTest::FilesIn(const std::wstring& folder) {
    return kvtest::FileNamesIn(folder);
}
