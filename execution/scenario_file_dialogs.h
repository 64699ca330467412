// The platform's open and save dialogs for scenario files ("scenery.vbs", *.vbs), shared by the
// end of a recording and the scenario editor.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kv::execution {

enum class ScenarioFileDialog {
    Open, // the file must exist; no read-only check box
    Save, // the folder must exist; the user is asked before a file is replaced
};

// Shows the dialog owned by `owner`, starting in `initialFolder` with "scenery.vbs" proposed;
// the chosen path at any length, or nothing when cancelled. The process's current folder is
// left as it was. Raises when the dialog cannot be shown.
std::optional<std::wstring> AskScenarioFile(HWND owner, ScenarioFileDialog kind,
                                            const std::wstring& initialFolder);

} // namespace kv::execution
