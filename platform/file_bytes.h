// Writing bytes of any length to an open file: the system writes at most 4 GB less one byte per
// call and may write fewer than asked.
#pragma once

#include <windows.h>

#include <string_view>

namespace kv {

// Writes every byte at the file's position, a megabyte per call: 0, or the system's error code
// (ERROR_WRITE_FAULT when a call writes nothing without saying why).
DWORD WriteAllBytes(HANDLE file, std::string_view bytes);

} // namespace kv
