// The system's own text for a failing status, for messages that name what went wrong.
#pragma once

#include <windows.h>

#include <string>

namespace kv {

// "Файл не найден (0x80070002)"; the code alone when the system has no text for it.
std::wstring SystemErrorText(HRESULT hr);

// The thread's last error code, or the fallback when a failing call left none.
DWORD LastErrorOr(DWORD fallback);

} // namespace kv
