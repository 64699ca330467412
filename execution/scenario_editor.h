// The scenario editor window, in which the user opens, edits, saves and runs a scenario.
#pragma once

#include <windows.h>

#include "zkernel.h"

namespace kv {

// Shows the editor modally, owned by `owner`, for the model that the caller's variable `model`
// refers to; returns when the user closes it. Errors leave as exceptions.
void ShowScenarioEditor(HWND owner, IZModel** model);

} // namespace kv
