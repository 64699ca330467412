#include "runner_fixture.h"

#include <oleauto.h>

#include <algorithm>

namespace {

// Long paths go through the extended-length form, which has no 260-character limit.
std::wstring Extended(const std::wstring& path) {
    return path.size() < MAX_PATH ? path : L"\\\\?\\" + path;
}

} // namespace

std::wstring Widen(const std::string& ansi) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& wide) {
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length,
                        nullptr, nullptr);
    return ansi;
}

void RunnerTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    comInitialised_ = true;
    CLSID modelClass{};
    if (FAILED(CLSIDFromProgID(L"zkernel.ZModel", &modelClass)))
        GTEST_SKIP() << "the kernel stand-in zkernel.ZModel is not registered";
    ASSERT_EQ(CoCreateInstance(modelClass, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&model_)),
              S_OK);

    // A host without a window of its own passes a hidden top-level window.
    owner_ = CreateWindowExW(0, L"STATIC", L"scenario owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);

    wchar_t temp[MAX_PATH + 1];
    ASSERT_NE(GetTempPathW(MAX_PATH + 1, temp), 0u);
    folder_ = std::wstring(temp) + L"kv_runner_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
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
