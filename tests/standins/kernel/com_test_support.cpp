#include "com_test_support.h"

#include "support/process.h"
#include "support/stand_in_model.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace zk::testing {

namespace {

// Registers zkernel.dll once for the whole program, as an installation does.
class KernelRegistration : public ::testing::Environment {
public:
    void SetUp() override {
        std::wstring command = L"regsvr32.exe /s \"" + KernelDllPath() + L"\"";
        ASSERT_EQ(kvtest::RunProcess(command).exit_code, 0u) << "regsvr32 failed";
    }
};

const auto* const kRegistration = ::testing::AddGlobalTestEnvironment(new KernelRegistration);

} // namespace

void ComTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
}

void ComTest::TearDown() {
    CoUninitialize();
}

std::wstring KernelDllPath() {
    wchar_t path[MAX_PATH * 4];
    DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"zkernel.dll";
}

ComPtr<IZModel> NewModel() {
    return kvtest::StandInModel().Model();
}

ComPtr<IZClassVector> ClassVector(IZModel* model) {
    ComPtr<IZClassVector> vector;
    EXPECT_EQ(model->zrGetClassVector(&vector), S_OK);
    return vector;
}

ComPtr<IZClass> AddClass(IZModel* model, const wchar_t* name) {
    ComPtr<IZClass> cls;
    EXPECT_EQ(ClassVector(model)->zrAdd(Bstr(name), &cls), S_OK);
    return cls;
}

ComPtr<IZClassValue> AddAttribute(IZClass* cls, const wchar_t* name) {
    ComPtr<IZClassValue> cval;
    EXPECT_EQ(cls->zrAddClassValue(Bstr(name), &cval), S_OK);
    return cval;
}

KernelSwitch::KernelSwitch(Setter set) : set_(set) {
    EXPECT_EQ(NewModel().As(&admin_), S_OK);
    if (admin_)
        EXPECT_EQ((admin_.Get()->*set_)(VARIANT_TRUE), S_OK);
}

KernelSwitch::~KernelSwitch() {
    if (admin_)
        (admin_.Get()->*set_)(VARIANT_FALSE);
}

std::wstring NameOf(IZClass* cls) {
    Bstr name;
    EXPECT_EQ(cls->get_zrName(name.put()), S_OK);
    return name.str();
}

std::wstring NameOf(IZClassValue* cval) {
    Bstr name;
    EXPECT_EQ(cval->get_zrName(name.put()), S_OK);
    return name.str();
}

std::wstring ErrorText() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, &info) != S_OK)
        return L"";
    Bstr description;
    info->GetDescription(description.put());
    return description.str();
}

TempFile::TempFile(const std::wstring& name) {
    wchar_t folder[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, folder);
    path_ = std::wstring(folder) + L"zkernel-test-" + std::to_wstring(GetCurrentProcessId()) +
            L"-" + name;
    DeleteFileW(path_.c_str());
}

TempFile::~TempFile() {
    DeleteFileW(path_.c_str());
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::wstring& path, const std::string& data) {
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

} // namespace zk::testing
