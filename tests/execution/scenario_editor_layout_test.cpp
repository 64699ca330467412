// The scenario editor's geometry: the design's places at its own size, the bottom parts and the
// buttons following the edges when the window is resized, nothing negative when it is tiny.
#include "execution/scenario_editor_layout.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

using kv::execution::LayOutScenarioEditor;

TEST(ScenarioEditorLayout, DesignSizeGivesTheDesignedPlaces) {
    const auto layout = LayOutScenarioEditor(509, 371, 22);
    EXPECT_EQ(layout.statusBar, (FormRect{0, 351, 509, 20}));
    EXPECT_EQ(layout.buttonPanel, (FormRect{0, 312, 509, 39}));
    EXPECT_EQ(layout.errorPanel, (FormRect{0, 291, 509, 21}));
    EXPECT_EQ(layout.errorLine, (FormRect{0, 0, 509, 21}));
    EXPECT_EQ(layout.editor, (FormRect{0, 22, 509, 269}));
    EXPECT_EQ(layout.runButton, (FormRect{320, 8, 91, 25}));
    EXPECT_EQ(layout.cancelButton, (FormRect{416, 8, 91, 25}));
}

TEST(ScenarioEditorLayout, ButtonsKeepToTheRightAndTheEditorTakesTheRest) {
    const auto layout = LayOutScenarioEditor(800, 600, 26);
    EXPECT_EQ(layout.runButton, (FormRect{611, 8, 91, 25}));
    EXPECT_EQ(layout.cancelButton, (FormRect{707, 8, 91, 25}));
    EXPECT_EQ(layout.errorLine.width, 800);
    EXPECT_EQ(layout.editor, (FormRect{0, 26, 800, 600 - 20 - 39 - 21 - 26}));
}

TEST(ScenarioEditorLayout, ATinyWindowGivesNoNegativeHeights) {
    for (const int height : {0, 30, 70, 100}) {
        const auto layout = LayOutScenarioEditor(50, height, 22);
        for (const FormRect& part :
             {layout.statusBar, layout.buttonPanel, layout.errorPanel, layout.editor}) {
            EXPECT_GE(part.height, 0) << height;
            EXPECT_GE(part.top, 0) << height;
            EXPECT_LE(part.top + part.height, height) << height;
        }
    }
}

} // namespace
