// The recording session: scriptStart opens a recording on the host's model, scriptEnd closes
// it by saving the scenario file or, for a difference scenario, by applying it at once.
#pragma once

#include <windows.h>

#include <zkernel.h>

#include <string_view>

namespace kv {

// Opens a recording: an open one is released first; the header is the first item and the link
// events of the model's class vector are recorded from now on. Without a model, or when the
// kernel cannot give its class vector, it raises and leaves no recording open.
bool scriptStart(IZModel* model);

// Appends the footer and closes the recording. A difference recording with a model asks
// whether to apply the scenario to the model now; otherwise the scenario is saved to the file
// name (environment references expanded; 8-bit ANSI text) or, when it is empty, to the file
// chosen in the Save File dialog. A failed write is retried until it succeeds or the user gives
// up. False, with the recording left open, when none was open, the dialog was cancelled or the
// user gave up.
bool scriptEnd(HWND owner, std::string_view fileName, IZModel** model);

} // namespace kv
