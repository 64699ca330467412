#include "common/app_folder.h"

#include "common/app_folder_paths.h"
#include "platform/barriers.h"
#include "platform/paths.h"
#include "platform/registry_values.h"

#include <windows.h>
#include <shlobj.h>

namespace kv {

namespace {

std::wstring InstallationFolder() {
    RegistryText folder = ReadRegistryText(HKEY_LOCAL_MACHINE, InstallationKey, L"InstallPath");
    if (folder.state == RegistryValueState::Missing)
        folder = ReadRegistryText(HKEY_LOCAL_MACHINE, InstallationKey, L"Directory");
    return WithoutTrailingDelimiter(folder.text);
}

// The user's temporary folder without its trailing delimiter; "" when the platform has none.
std::wstring TemporaryRoot() {
    try {
        return WithoutTrailingDelimiter(TemporaryFolder());
    } catch (const LibraryError&) {
        return {};
    }
}

std::wstring ShellFolder(int csidl) {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return WithoutTrailingDelimiter(folder);
}

} // namespace

void GetAppFolder(int kind, std::wstring& path) {
    AppFolderRoots roots;
    roots.install = InstallationFolder();
    switch (RootOfAppFolder(kind)) {
    case AppFolderRoot::Documents:
        roots.documents = ShellFolder(CSIDL_PERSONAL);
        break;
    case AppFolderRoot::ApplicationData:
        roots.application_data = ShellFolder(CSIDL_APPDATA);
        break;
    case AppFolderRoot::Temporary:
        roots.temporary = TemporaryRoot();
        break;
    case AppFolderRoot::Install:
        break;
    }
    std::optional<std::wstring> folder = AppFolderPath(kind, roots);
    if (!folder)
        return;
    if (AppFolderCreatedWhenMissing(kind) &&
        GetFileAttributesW(folder->c_str()) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryW(folder->c_str(), nullptr); // the last level only; failure is silent
    path = std::move(*folder);
}

} // namespace kv
