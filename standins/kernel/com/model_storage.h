// Where structures are kept: files, and the server store, a folder named by the environment
// variable ZKERNEL_SERVER_STORE or else by the registry value HKLM\Software\zkernel
// "ServerStore", holding structures by name.
#pragma once

#include <string>
#include <string_view>

namespace zk::com {

std::string ReadWholeFile(const std::wstring& path);
// Writes beside the target and then replaces it, so a failed store never leaves half a file.
void WriteWholeFile(const std::wstring& path, std::string_view data);
// The file of a server structure; the name must be a plain file name.
std::wstring ServerStorePath(std::wstring_view name);
// The file name without its folder.
std::wstring FileNameOf(std::wstring_view path);

} // namespace zk::com
