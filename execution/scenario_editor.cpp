#include "scenario_editor.h"

namespace kv {

void ShowScenarioEditor(HWND owner, IZModel** model) {
    // The editor window is not built yet: closing at once is what a user who runs nothing does.
}

} // namespace kv
