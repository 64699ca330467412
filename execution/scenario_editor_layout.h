// The geometry of the scenario editor window: its fixed design (client area 509 x 371 at 96
// pixels per inch) and where each part goes for a client area of any size. Pure.
#pragma once

#include "common/message_form_layout.h"

namespace kv::execution {

constexpr int kEditorClientWidth = 509;
constexpr int kEditorClientHeight = 371;

struct ScenarioEditorLayout {
    FormRect editor;       // fills what the tool bar and the bottom panels leave
    FormRect errorPanel;   // Panel2, above Panel1
    FormRect errorLine;    // eError, in Panel2's coordinates
    FormRect buttonPanel;  // Panel1, above the status bar
    FormRect runButton;    // bRun, in Panel1's coordinates, kept at the right edge
    FormRect cancelButton; // bCancel, likewise
    FormRect statusBar;
};

// The parts for a client area; the tool bar sits at the top with the height it took. Parts that
// no longer fit get no height (never a negative one).
ScenarioEditorLayout LayOutScenarioEditor(int clientWidth, int clientHeight, int toolBarHeight);

} // namespace kv::execution
