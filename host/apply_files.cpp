#include "apply_files.h"

#include "model_outputs.h"

#include <windows.h>

namespace kvhost {
namespace {

std::wstring WidenBytes(std::string_view bytes) {
    return Widen(std::string(bytes));
}

std::string ReadWholeFile(const std::string& path) {
    const std::wstring name = ExpandedPath(path);
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw HostError("cannot read " + path + ": " + SystemMessage(GetLastError()));
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    BOOL ok = TRUE;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr)) && read > 0)
        bytes.append(buffer, read);
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!ok)
        throw HostError("cannot read " + path + ": " + SystemMessage(error));
    return bytes;
}

} // namespace

DifferenceSummary ReadDifferenceSummary(const std::string& scenario) {
    return SummariseDifference(ReadWholeFile(scenario), WidenBytes);
}

DifferenceSummary WriteSummarisedDifference(const std::string& current, const std::string& target,
                                            const std::string& scenario) {
    WriteDifferenceScenario(LoadModel(current).Get(), target, scenario);
    return ReadDifferenceSummary(scenario);
}

std::string ReportName(std::wstring_view name) {
    return Narrow(name.data(), name.size());
}

TemporaryFile::TemporaryFile(const std::string& folder, const char* prefix) {
    char temp[MAX_PATH + 1];
    std::string where = folder;
    if (where.empty()) {
        if (!GetTempPathA(sizeof temp, temp))
            throw HostError("the temporary folder: " + SystemMessage(GetLastError()));
        where = temp;
    }
    char name[MAX_PATH + 1];
    if (!GetTempFileNameA(where.c_str(), prefix, 0, name))
        throw HostError("cannot make a file in " + where + ": " + SystemMessage(GetLastError()));
    path_ = name;
}

TemporaryFile::~TemporaryFile() {
    if (!path_.empty())
        DeleteFileA(path_.c_str());
}

std::string FolderOf(const std::string& path) {
    char full[MAX_PATH + 1];
    char* file_part = nullptr;
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, &file_part);
    if (length == 0 || length > MAX_PATH || !file_part)
        throw HostError("the folder of " + path + " cannot be found");
    return std::string(full, static_cast<std::size_t>(file_part - full));
}

void ReplaceStructureFile(const std::string& target, const std::string& replacement,
                          const std::string& backup) {
    // The backup is a copy, so the target keeps its name until the rename replaces it.
    if (!backup.empty() && !CopyFileA(target.c_str(), backup.c_str(), FALSE))
        throw HostError("cannot keep " + target + " as " + backup + ": " +
                        SystemMessage(GetLastError()));
    if (!MoveFileExA(replacement.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw HostError("cannot replace " + target + ": " + SystemMessage(GetLastError()));
}

} // namespace kvhost
