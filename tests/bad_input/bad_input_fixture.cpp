#include "bad_input_fixture.h"

#include "platform/win_owners.h"

#include <oleauto.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>

using namespace kv;

namespace {

// A full path in the form the file functions take at any length.
std::wstring FilePath(const std::string& path) {
    const std::wstring wide = Widen(path);
    return wide.size() < MAX_PATH - 12 ? wide : L"\\\\?\\" + wide;
}

} // namespace

void AddGroups(IZModel* model, const std::vector<std::wstring>& identifiers) {
    ComPtr<IZModelAdmin> admin;
    Check(model->QueryInterface(IID_PPV_ARGS(&admin)), "the administration interface");
    for (const std::wstring& identifier : identifiers) {
        LONG handle = 0;
        Check(
            admin->zrAddGroup(Bstr(identifier).Get(), Bstr(L"Group " + identifier).Get(), &handle),
            "adding a group");
    }
}

HeldFile::HeldFile(const std::string& path) : LockedFile(FilePath(path)) {}

void BadInputTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(test.begin(), test.end(), '/', '_'); // the case of a table
    folder_ = std::string(temp) + "kv_bad_input_" + std::to_string(GetCurrentProcessId()) + "_" +
              test + "\\";
    ASSERT_TRUE(CreateDirectoryW(FilePath(folder_).c_str(), nullptr)) << folder_;
}

// Only the files of the folders this test made, each by name; then the folders themselves,
// the deepest first. Nothing is removed recursively.
void BadInputTest::TearDown() {
    folders_.insert(folders_.begin(), folder_);
    for (const std::string& folder : folders_)
        for (const std::string& name : FilesIn(folder))
            DeleteFileW(FilePath(folder + name).c_str());
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder)
        RemoveDirectoryW(FilePath(*folder).c_str());
    CoUninitialize();
}

std::string BadInputTest::MakeFolder(const std::string& parent, const std::string& name) {
    const std::string folder = parent + name + "\\";
    if (!CreateDirectoryW(FilePath(folder).c_str(), nullptr))
        throw std::runtime_error("cannot make the folder " + folder);
    folders_.push_back(folder);
    return folder;
}

std::string BadInputTest::LongFolder(std::size_t length) {
    std::string folder = folder_;
    for (char letter = 'a'; folder.size() < length; ++letter)
        folder = MakeFolder(
            folder, std::string(std::min<std::size_t>(200, length - folder.size()), letter));
    return folder;
}

void BadInputTest::WriteBytes(const std::string& path, const std::string& bytes) {
    const FileHandle file(CreateFileW(FilePath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file ||
        !WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        throw std::runtime_error("cannot write " + path);
}

std::string BadInputTest::ReadBytes(const std::string& path) {
    const FileHandle file(CreateFileW(FilePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::string bytes;
    char chunk[64 * 1024];
    DWORD read = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) && read)
        bytes.append(chunk, read);
    return bytes;
}

bool BadInputTest::Exists(const std::string& path) {
    return GetFileAttributesW(FilePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::set<std::string> BadInputTest::FilesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const std::wstring& name : kvtest::FileNamesIn(FilePath(folder)))
        names.insert(ShownAnsiFromWide(name));
    return names;
}

void BadInputTest::StoreStructure(const std::string& path,
                                  const std::function<void(IZModel*)>& build) {
    ComPtr<IZModel> model = NewModel();
    ComPtr<IZClassVector> vector;
    Check(model->zrGetClassVector(&vector), "reading the class vector");
    ComPtr<IZClass> base, part;
    Check(vector->zrAdd(Bstr(L"Base").Get(), &base), "adding a class");
    Check(vector->zrAdd(Bstr(L"Part").Get(), &part), "adding a class");
    Check(part->put_zrBaseClass(base.Get()), "setting a base");
    AddGroups(model.Get(), {L"designers"});
    if (build)
        build(model.Get());
    SaveModel(model.Get(), path);
}

std::string BadInputTest::StructureWithoutName(const std::string& path) {
    std::istringstream lines(ReadBytes(path));
    std::string text, line;
    while (std::getline(lines, line))
        if (line.rfind("  \"name\": ", 0) != 0)
            text += line + "\n";
    return text;
}

std::string Describe(const std::vector<std::string>& arguments, const ProcessOutcome& outcome) {
    std::string text = "kvhost";
    for (const std::string& argument : arguments)
        text += " " + (argument.size() > 120 ? argument.substr(0, 60) + "..." : argument);
    return text + "\nexit " + std::to_string(outcome.exit_code) + ": " + outcome.output;
}
