#include "execution/scenario_editor_layout.h"

#include <algorithm>

namespace kv::execution {

namespace {

constexpr int kStatusBarHeight = 20;
constexpr int kButtonPanelHeight = 39;
constexpr int kErrorPanelHeight = 21;
constexpr int kButtonWidth = 91;
constexpr int kButtonHeight = 25;
constexpr int kButtonTop = 8;
// The designed left edges of bRun and bCancel; both are anchored to the right edge.
constexpr int kRunLeft = 320;
constexpr int kCancelLeft = 416;

} // namespace

ScenarioEditorLayout LayOutScenarioEditor(int clientWidth, int clientHeight, int toolBarHeight) {
    const int width = std::max(clientWidth, 0);
    // Stacked from the bottom: the status bar, Panel1, Panel2.
    const int statusTop = std::max(clientHeight - kStatusBarHeight, 0);
    const int buttonPanelTop = std::max(statusTop - kButtonPanelHeight, 0);
    const int errorPanelTop = std::max(buttonPanelTop - kErrorPanelHeight, 0);
    const int editorTop = std::min(std::max(toolBarHeight, 0), errorPanelTop);

    ScenarioEditorLayout layout;
    layout.statusBar = {0, statusTop, width, std::max(clientHeight, 0) - statusTop};
    layout.buttonPanel = {0, buttonPanelTop, width, statusTop - buttonPanelTop};
    layout.errorPanel = {0, errorPanelTop, width, buttonPanelTop - errorPanelTop};
    layout.errorLine = {0, 0, width, layout.errorPanel.height};
    layout.editor = {0, editorTop, width, errorPanelTop - editorTop};
    layout.runButton = {width - (kEditorClientWidth - kRunLeft), kButtonTop, kButtonWidth,
                        kButtonHeight};
    layout.cancelButton = {width - (kEditorClientWidth - kCancelLeft), kButtonTop, kButtonWidth,
                           kButtonHeight};
    return layout;
}

} // namespace kv::execution
