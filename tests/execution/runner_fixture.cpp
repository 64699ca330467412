#include "runner_fixture.h"

#include "support/host_setting.h"
#include "support/stand_in_model.h"

#include <oleauto.h>

#include <algorithm>

void RunnerTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    comInitialised_ = true;
    if (!kvtest::StandInModel::Registered())
        GTEST_SKIP() << "the kernel stand-in zkernel.ZModel is not registered";
    model_ = kvtest::StandInModel().Model();

    // A host without a window of its own passes a hidden top-level window.
    owner_ = kvtest::CreateOwnerWindow(L"scenario owner", 100, 100);
    ASSERT_NE(owner_, nullptr);

    folder_ = kvtest::ProcessTempFolder(L"kv_runner_");
    MakeFolder(folder_);
}

void RunnerTest::TearDown() {
    for (const auto& file : createdFiles_)
        DeleteFileW(Extended(file).c_str());
    std::reverse(createdFolders_.begin(), createdFolders_.end());
    for (const auto& folder : createdFolders_)
        RemoveDirectoryW(Extended(folder).c_str());
    if (owner_)
        DestroyWindow(owner_);
    model_.Reset();
    if (comInitialised_)
        CoUninitialize();
}

std::string RunnerTest::WriteScenario(const std::string& name, const std::string& bytes) {
    const std::wstring path = folder_ + Widen(name);
    WriteFileAt(path, bytes);
    return Narrow(path);
}

void RunnerTest::WriteFileAt(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << Narrow(path);
    createdFiles_.push_back(path);
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(ok && written == bytes.size());
}

void RunnerTest::MakeFolder(const std::wstring& path) {
    ASSERT_TRUE(CreateDirectoryW(Extended(path).c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS)
        << Narrow(path);
    createdFolders_.push_back(path);
}

bool RunnerTest::Modified() {
    VARIANT_BOOL modified = VARIANT_FALSE;
    EXPECT_EQ(model_->get_zrModified(&modified), S_OK);
    return modified != VARIANT_FALSE;
}

void RunnerTest::SetModified(bool modified) {
    ASSERT_EQ(model_->put_zrModified(modified ? VARIANT_TRUE : VARIANT_FALSE), S_OK);
}

bool RunnerTest::HasClass(const wchar_t* name) {
    Microsoft::WRL::ComPtr<IZClassVector> classes;
    EXPECT_EQ(model_->zrGetClassVector(&classes), S_OK);
    BSTR text = SysAllocString(name);
    Microsoft::WRL::ComPtr<IZClass> found;
    EXPECT_EQ(classes->zrLocate(text, &found), S_OK);
    SysFreeString(text);
    return found != nullptr;
}
