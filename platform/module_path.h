// The library's own module and the full paths of loaded modules.
#pragma once

#include <windows.h>

#include <string>

namespace kv {

// The module this code is linked into (korvalith.dll, or a test program that links it).
HMODULE ThisModule() noexcept;
// The full path of a module (null: the host executable), at any length.
std::wstring ModulePath(HMODULE module);

} // namespace kv
