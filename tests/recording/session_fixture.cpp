#include "session_fixture.h"

#include "support/host_setting.h"

#include <oleauto.h>

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

std::vector<std::wstring> SpillFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Extended(folder + L"~kvscenario*.tmp").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            names.push_back(found.cFileName);
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return names;
}

void SessionTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    comInitialised_ = true;
    if (!kvtest::StandInModel::Registered())
        GTEST_SKIP() << "the kernel stand-in zkernel.ZModel is not registered";
    stand_in_.emplace();
    model_ = stand_in_->Model();

    library_ = std::make_unique<KorvalithLibrary>();
    ASSERT_TRUE(library_->Loaded()) << "korvalith.dll cannot be loaded";

    // A host without a window of its own passes a hidden top-level window.
    owner_ = kvtest::CreateOwnerWindow(L"recording owner");
    ASSERT_NE(owner_, nullptr);

    folder_ = kvtest::ProcessTempFolder(L"kv_session_");
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
    stand_in_.reset();
    if (comInitialised_)
        CoUninitialize();
}

void PartAndUnitSessionTest::SetUp() {
    SessionTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    AddClass(L"Деталь");
    AddClass(L"Узел");
}

ComPtr<IZClassVector> SessionTest::Classes() {
    return stand_in_->Classes();
}

ComPtr<IZFilterVector> SessionTest::Filters() {
    return stand_in_->Filters();
}

ComPtr<IZClass> SessionTest::AddClass(const wchar_t* name) {
    return stand_in_->AddClass(name);
}

ComPtr<IZClass> SessionTest::FindClass(const wchar_t* name) {
    return stand_in_->Locate(name);
}

ComPtr<IZClassValue> SessionTest::AddAttribute(IZClass* cls, const wchar_t* name) {
    return stand_in_->AddAttribute(cls, name);
}

LONG SessionTest::AddGroup(const wchar_t* id, const wchar_t* name) {
    return stand_in_->AddGroup(id, name);
}

void SessionTest::SetRights(LONG group, IZClass* cls, LONG rights) {
    stand_in_->SetRights(group, cls, rights);
}

void SessionTest::SetRights(LONG group, IZClassValue* cval, LONG rights) {
    stand_in_->SetRights(group, cval, rights);
}

void SessionTest::AddLink(const wchar_t* parent, const wchar_t* child) {
    stand_in_->AddLink(parent, child);
}

void SessionTest::RemoveLink(const wchar_t* parent, const wchar_t* child) {
    stand_in_->RemoveLink(parent, child);
}

bool SessionTest::HasLink(const wchar_t* parent, const wchar_t* child) {
    return stand_in_->HasLink(parent, child);
}

std::string SessionTest::OutputPath(const std::string& name) {
    return Narrow(folder_) + name;
}

std::string SessionTest::ReadOutput(const std::string& path) {
    if (!FileExists(Widen(path))) {
        ADD_FAILURE() << "no file " << path;
        return {};
    }
    return FileBytes(Widen(path));
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
