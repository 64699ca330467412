// The difference scenario as the host asks for it: with the open-file dialog (scriptDifference),
// or for a structure file it names (scriptDifferenceFile). Both load the file into a private
// model and write the same sections into the open recording.
#pragma once

#include <windows.h>

#include <zkernel.h>

#include <string>
#include <string_view>

namespace kv {

// Asks for a structure file, then writes the difference to it. False, with nothing written and
// no dialog, when no recording is open or there is no model; false when the user cancels.
bool scriptDifference(IZModel* model, HWND owner);

// Writes the difference from the model to the structure file (8-bit ANSI path). False, with
// nothing written, when no recording is open or there is no model. A file that cannot be loaded
// raises an error before anything is written and leaves DifferenceMode as it was.
bool scriptDifferenceFile(IZModel* model, std::string_view structureFile);

// The same for a path of any length and any characters.
bool WriteDifferenceToFile(IZModel* model, const std::wstring& structureFile);

} // namespace kv
