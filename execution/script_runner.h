// Runs a scenario file against the host's model through the Windows Script Control, or opens the
// scenario editor when no file is named.
#pragma once

#include <windows.h>

#include "zkernel.h"

namespace kv {

// True when the model's changed flag is set after the run (or after the editor closed). Without
// a model or an owner window: false, nothing touched. A run that changes nothing, failed runs
// included, puts the caller's flag back. Unreadable files, a missing Script Control and failing
// scenarios raise LibraryError; a failing scenario's message starts with "Ошибка выполнения
// сценария:\r\n". `fileName` is ANSI and may hold %NAME% references; null or "" opens the editor.
bool ScriptExecute(HWND owner, IZModel** model, const char* fileName);

} // namespace kv
