#include "com_test_support.h"

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
        ASSERT_EQ(RunProgram(command), 0u) << "regsvr32 failed";
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

DWORD RunProgram(const std::wstring& command_line, std::string* output) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 0))
        return ~0u;
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write_end;
    startup.hStdError = write_end;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::vector<wchar_t> command(command_line.begin(), command_line.end());
    command.push_back(L'\0');
    BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                  nullptr, nullptr, &startup, &process);
    CloseHandle(write_end);
    // Read until the program ends; a helper it starts (Wine's desktop process) may keep the
    // pipe open after that, so the pipe is never waited on for its end.
    std::string printed;
    auto drain = [&] {
        DWORD available = 0;
        while (PeekNamedPipe(read_end, nullptr, 0, nullptr, &available, nullptr) && available) {
            std::string chunk(available, '\0');
            DWORD read = 0;
            if (!ReadFile(read_end, chunk.data(), available, &read, nullptr) || !read)
                break;
            printed.append(chunk, 0, read);
        }
    };
    if (started) {
        while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT)
            drain();
        drain();
    }
    CloseHandle(read_end);
    DWORD code = ~0u;
    if (started) {
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    if (output)
        *output = printed;
    return code;
}

ComPtr<IZModel> NewModel() {
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(L"zkernel.ZModel", &clsid), S_OK);
    ComPtr<IZModel> model;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IZModel),
                               reinterpret_cast<void**>(model.GetAddressOf())),
              S_OK);
    return model;
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

std::string Utf8Of(const std::wstring& text) {
    if (text.empty())
        return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

} // namespace zk::testing
