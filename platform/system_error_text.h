// The system's own text for a failing status, for messages that name what went wrong.
#pragma once

#include <windows.h>

#include <string>

namespace kv::execution {

// "Файл не найден (0x80070002)"; the code alone when the system has no text for it.
std::wstring SystemText(HRESULT hr);

} // namespace kv::execution
