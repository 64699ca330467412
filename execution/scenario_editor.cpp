#include "execution/scenario_editor.h"

#include "execution/scenario_editor_form.h"

namespace kv {

void ShowScenarioEditor(HWND owner, IZModel** model) {
    // The form is owned by the application's window, which the runner has made `owner`.
    execution::TfScenery form;
    form.SetModel(*model);
    form.ShowModal();
}

} // namespace kv
