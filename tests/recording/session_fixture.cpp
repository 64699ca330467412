#include "session_fixture.h"

#include <oleauto.h>

#include <algorithm>
#include <cstring>

namespace {

void Check(HRESULT hr, const char* what) {
    ASSERT_TRUE(SUCCEEDED(hr)) << what << " failed: 0x" << std::hex << hr;
}

// The kernel's security key of an object, as zrGetRights and zrSetRights take it.
template <class Object> GUID KeyOf(Object* object) {
    LONG words[4] = {};
    EXPECT_EQ(object->zrGetSecurityKey(&words[0], &words[1], &words[2], &words[3]), S_OK);
    GUID key;
    std::memcpy(&key, words, sizeof(key));
    return key;
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

std::wstring Extended(const std::wstring& path) {
    return path.size() < MAX_PATH ? path : L"\\\\?\\" + path;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Extended(folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + L"\\");
            else
                DeleteFileW(Extended(folder + name).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(Extended(folder).c_str());
}

void SessionTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    comInitialised_ = true;
    CLSID modelClass{};
    if (FAILED(CLSIDFromProgID(L"zkernel.ZModel", &modelClass)))
        GTEST_SKIP() << "the kernel stand-in zkernel.ZModel is not registered";
    Check(CoCreateInstance(modelClass, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&model_)),
          "creating zkernel.ZModel");

    library_ = std::make_unique<HostLibrary>();
    ASSERT_TRUE(library_->Loaded()) << "korvalith.dll cannot be loaded";

    // A host without a window of its own passes a hidden top-level window.
    owner_ = CreateWindowExW(0, L"STATIC", L"recording owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);

    wchar_t temp[MAX_PATH + 1];
    ASSERT_NE(GetTempPathW(MAX_PATH + 1, temp), 0u);
    folder_ = std::wstring(temp) + L"kv_session_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    RemoveTree(folder_);
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
}

void SessionTest::TearDown() {
    // Unloading releases a recording a test left open, without writing anything.
    library_.reset();
    if (!folder_.empty())
        RemoveTree(folder_);
    if (owner_)
        DestroyWindow(owner_);
    model_.Reset();
    if (comInitialised_)
        CoUninitialize();
}

ComPtr<IZClassVector> SessionTest::Classes() {
    ComPtr<IZClassVector> classes;
    EXPECT_EQ(model_->zrGetClassVector(&classes), S_OK);
    return classes;
}

ComPtr<IZFilterVector> SessionTest::Filters() {
    ComPtr<IZFilterVector> filters;
    EXPECT_EQ(Classes()->get_zrFilterVector(&filters), S_OK);
    return filters;
}

ComPtr<IZClass> SessionTest::AddClass(const wchar_t* name) {
    ComPtr<IZClass> cls;
    BSTR text = SysAllocString(name);
    EXPECT_EQ(Classes()->zrAdd(text, &cls), S_OK);
    SysFreeString(text);
    return cls;
}

ComPtr<IZClass> SessionTest::FindClass(const wchar_t* name) {
    ComPtr<IZClass> cls;
    BSTR text = SysAllocString(name);
    EXPECT_EQ(Classes()->zrLocate(text, &cls), S_OK);
    SysFreeString(text);
    return cls;
}

ComPtr<IZClassValue> SessionTest::AddAttribute(IZClass* cls, const wchar_t* name) {
    ComPtr<IZClassValue> cval;
    BSTR text = SysAllocString(name);
    EXPECT_EQ(cls->zrAddClassValue(text, &cval), S_OK);
    SysFreeString(text);
    return cval;
}

LONG SessionTest::AddGroup(const wchar_t* id, const wchar_t* name) {
    ComPtr<IZModelAdmin> admin;
    EXPECT_EQ(model_.As(&admin), S_OK);
    BSTR idText = SysAllocString(id);
    BSTR nameText = SysAllocString(name);
    LONG group = 0;
    EXPECT_EQ(admin->zrAddGroup(idText, nameText, &group), S_OK);
    SysFreeString(idText);
    SysFreeString(nameText);
    return group;
}

void SessionTest::SetRights(LONG group, IZClass* cls, LONG rights) {
    ComPtr<IZLocalSecurity> security;
    ASSERT_EQ(model_->zrGetLocalSecurity(&security), S_OK);
    GUID key = KeyOf(cls);
    EXPECT_EQ(security->zrSetRights(group, &key, rights), S_OK);
}

void SessionTest::SetRights(LONG group, IZClassValue* cval, LONG rights) {
    ComPtr<IZLocalSecurity> security;
    ASSERT_EQ(model_->zrGetLocalSecurity(&security), S_OK);
    GUID key = KeyOf(cval);
    EXPECT_EQ(security->zrSetRights(group, &key, rights), S_OK);
}

void SessionTest::AddLink(const wchar_t* parent, const wchar_t* child) {
    BSTR text = SysAllocString(child);
    EXPECT_EQ(FindClass(parent)->zrAddChildClass(text), S_OK);
    SysFreeString(text);
}

void SessionTest::RemoveLink(const wchar_t* parent, const wchar_t* child) {
    BSTR text = SysAllocString(child);
    EXPECT_EQ(FindClass(parent)->zrRemoveChildClass(text), S_OK);
    SysFreeString(text);
}

bool SessionTest::HasLink(const wchar_t* parent, const wchar_t* child) {
    ComPtr<IZClass> found;
    BSTR text = SysAllocString(child);
    EXPECT_EQ(FindClass(parent)->zrnChildClassItem(text, &found), S_OK);
    SysFreeString(text);
    return found != nullptr;
}

std::string SessionTest::OutputPath(const std::string& name) {
    return Narrow(folder_) + name;
}

std::string SessionTest::ReadOutput(const std::string& path) {
    HANDLE file = CreateFileW(Extended(Widen(path)).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "no file " << path;
        return {};
    }
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

std::string SessionTest::MakeFolder(const std::wstring& relative) {
    std::wstring path = folder_;
    std::size_t start = 0;
    while (start < relative.size()) {
        std::size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos)
            end = relative.size();
        path += relative.substr(start, end - start);
        CreateDirectoryW(Extended(path).c_str(), nullptr);
        path += L'\\';
        start = end + 1;
    }
    path.pop_back();
    EXPECT_TRUE(FileExists(path)) << Narrow(path);
    return Narrow(path);
}
