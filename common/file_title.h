// File names without folder and extension (the application's title is its executable's).
// Pure: no Windows header.
#pragma once

#include <string>
#include <string_view>

namespace kv {

// "C:\dir.v2\kvhost.exe" -> "kvhost"; both slash kinds separate folders; only a dot in the
// last part starts an extension.
std::wstring FileTitle(std::wstring_view path);

} // namespace kv
