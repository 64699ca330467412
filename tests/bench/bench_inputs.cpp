#include "bench_inputs.h"

#include "kvhost_support.h"
#include "model_scenarios.h"
#include "random_edits.h"
#include "random_structure.h"

#include "core/structure_file.h"

#include <windows.h>

#include <algorithm>

namespace kvbench {
namespace {

// Fixed seeds: every run measures the same structures. The difference's target and the user's
// work each touch about a tenth of the classes; the newer server structure fewer.
constexpr std::uint32_t kStructureSeed = 2024;
constexpr std::uint32_t kEditedSeed = 2025;
constexpr std::uint32_t kUserSeed = 2026;
constexpr std::uint32_t kServerSeed = 2027;
constexpr int kEditedPercent = 10;
constexpr int kServerPercent = 5;

std::wstring TemporaryFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH)
        throw kvhost::HostError("the temporary folder is unknown");
    return path;
}

std::string Ansi(const std::wstring& wide) {
    return kvhost::Narrow(wide.c_str(), wide.size());
}

} // namespace

Inputs::Inputs(std::wstring folder) : folder_(std::move(folder)) {
    if (folder_.empty())
        folder_ = TemporaryFolder() + L"kvbench";
    if (folder_.back() != L'\\')
        folder_ += L'\\';
    if (!CreateDirectoryW(folder_.c_str(), nullptr)) {
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw kvhost::HostError("cannot make the work folder " + Ansi(folder_));
    } else {
        made_folders_.push_back(folder_);
    }
}

std::wstring Inputs::Path(const std::string& name) const {
    return folder_ + kvhost::Widen(name);
}

std::string Inputs::Structure(int size) const {
    return Ansi(Path("structure-" + std::to_string(size) + ".ztp"));
}

std::string Inputs::Edited(int size) const {
    return Ansi(Path("edited-" + std::to_string(size) + ".ztp"));
}

std::string Inputs::GroupsOnly(int size) const {
    return Ansi(Path("groups-" + std::to_string(size) + ".ztp"));
}

std::string Inputs::Scenario(int size) const {
    return Ansi(Path("scenario-" + std::to_string(size) + ".vbs"));
}

std::string Inputs::Output(const std::string& operation, int size) const {
    return Ansi(Path("out-" + operation + "-" + std::to_string(size)));
}

std::wstring Inputs::Store(int size) const {
    return Path("store-" + std::to_string(size));
}

std::wstring Inputs::ServerStructure(int size) const {
    return Store(size) + L"\\structure.ztp";
}

std::wstring Inputs::PristineServerStructure(int size) const {
    return Path("server-" + std::to_string(size) + ".ztp");
}

bool Inputs::Made(const std::wstring& path) const {
    return std::find(made_files_.begin(), made_files_.end(), path) != made_files_.end();
}

void Inputs::WriteMade(const std::wstring& path, const std::string& contents) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw kvhost::HostError("cannot write " + Ansi(path));
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
    made_files_.push_back(path);
    if (!ok || written != contents.size())
        throw kvhost::HostError("cannot write " + Ansi(path));
}

zk::Structure Inputs::Generated(int size) const {
    return kvgen::RandomStructure(kStructureSeed, kvgen::Shape::Benchmark(size));
}

void Inputs::MakeStructure(int size) {
    if (Made(kvhost::Widen(Structure(size))))
        return;
    const zk::Structure structure = Generated(size);
    WriteMade(kvhost::Widen(Structure(size)), zk::WriteStructureFile(structure));
    WriteMade(kvhost::Widen(GroupsOnly(size)),
              zk::WriteStructureFile(kvgen::GroupsOnly(structure)));
}

void Inputs::MakeEdited(int size) {
    if (Made(kvhost::Widen(Edited(size))))
        return;
    WriteMade(kvhost::Widen(Edited(size)), zk::WriteStructureFile(kvgen::RandomEdits(
                                               Generated(size), kEditedSeed, kEditedPercent)));
}

void Inputs::MakeStore(int size) {
    if (Made(PristineServerStructure(size)))
        return;
    MakeStructure(size);
    if (!CreateDirectoryW(Store(size).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw kvhost::HostError("cannot make the folder " + Ansi(Store(size)));
    made_folders_.push_back(Store(size));
    const zk::Structure distribution = Generated(size);
    WriteMade(Store(size) + L"\\" + kvhost::Widen(kUserStructure),
              zk::WriteStructureFile(kvgen::RandomEdits(distribution, kUserSeed, kEditedPercent)));
    const std::string server =
        zk::WriteStructureFile(kvgen::RandomEdits(distribution, kServerSeed, kServerPercent));
    WriteMade(ServerStructure(size), server);
    WriteMade(PristineServerStructure(size), server);
}

void Inputs::MakeScenario(int size) {
    const std::wstring path = kvhost::Widen(Scenario(size));
    if (Made(path))
        return;
    MakeStructure(size);
    made_files_.push_back(path);
    kvhost::RecordWholeStructure(kvhost::LoadModel(Structure(size)).Get(), Scenario(size));
}

void Inputs::Prepare(const std::string& operation, int size) {
    MakeStructure(size);
    if (operation == "difference")
        MakeEdited(size);
    if (operation == "import")
        MakeStore(size);
    if (operation == "replay")
        MakeScenario(size);
    made_files_.push_back(kvhost::Widen(Output(operation, size)));
}

void Inputs::RemoveMade() {
    for (const std::wstring& file : made_files_)
        DeleteFileW(file.c_str());
    made_files_.clear();
    for (auto folder = made_folders_.rbegin(); folder != made_folders_.rend(); ++folder)
        RemoveDirectoryW(folder->c_str());
    made_folders_.clear();
}

} // namespace kvbench
