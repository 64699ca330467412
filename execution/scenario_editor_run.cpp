// Running the scenario editor's text against the model.
#include "execution/scenario_editor_form.h"

#include "execution/scenario_editor_text.h"
#include "execution/scenario_text.h"
#include "execution/script_control_run.h"
#include "platform/barriers.h"
#include "platform/text_conversion.h"

namespace kv::execution {

void TfScenery::bRunClick() {
    const std::vector<std::string> lines = SplitScenarioLines(ShownAnsiFromWide(editor_->Text()));
    const Microsoft::WRL::ComPtr<IScriptControl> control = CreateVBScriptControl();
    // Message boxes of the scenario belong to the editor.
    check(control->put_AllowUI(VARIANT_TRUE));
    check(control->put_SitehWnd(static_cast<long>(reinterpret_cast<INT_PTR>(form_.Get()))));
    try {
        RunScripter(control.Get(), lines, model_.Get());
    } catch (const ScriptFailure& failure) {
        ShowRunError(failure.Line(), failure.Column(), failure.Description());
        return;
    } catch (...) {
        ShowRunError(0, 0, DescribeCaughtException().message);
        return;
    }
    // The changes stay in the model; closing asks about unsaved text as usual.
    Close();
}

// The error line under the text, the caret at the error's place, the focus in the text. The
// form stays open.
void TfScenery::ShowRunError(long line, long column, const std::wstring& description) {
    SetWindowTextW(error_line_, RunErrorLine(line, column, description).c_str());
    if (line >= 1) {
        editor_->GotoLine(static_cast<int>(line - 1));
        editor_->SetCaretX(static_cast<int>(column));
    }
    editor_->Focus();
}

} // namespace kv::execution
