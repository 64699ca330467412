// GetAppFolder: the installation's folders, user folders and the temporary folder, by kind.
#pragma once

#include <string>

namespace kv {

// Sets `path` to the folder of `kind` (0 to 14, see app_folder_paths.h); any other kind leaves
// it unchanged. The installation folder is read from the registry on every call; without it
// the installation's paths start at the path delimiter. The last level of kinds 10, 11 and 13
// is created when missing (once, silently). Nothing is reported.
void GetAppFolder(int kind, std::wstring& path);

} // namespace kv
