#include "execution/script_runner.h"

#include "common/application.h"
#include "execution/scenario_editor.h"
#include "execution/scenario_file.h"
#include "execution/scenario_text.h"
#include "execution/script_control_run.h"
#include "platform/barriers.h"

#include <wrl/client.h>

#include <string>
#include <vector>

namespace kv {

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kScenarioFailed[] = L"Ошибка выполнения сценария:\r\n";

bool ReadModified(IZModel** model) {
    VARIANT_BOOL modified = VARIANT_FALSE;
    check((*model)->get_zrModified(&modified));
    return modified != VARIANT_FALSE;
}

void WriteModified(IZModel** model, bool modified) {
    check((*model)->put_zrModified(modified ? VARIANT_TRUE : VARIANT_FALSE));
}

// Compiles the wrapped scenario and calls Scripter with the model. Whatever fails here is
// raised again with the prefix that marks a failed scenario.
void RunWrapped(IScriptControl* control, const std::vector<std::string>& lines, IZModel** model) {
    try {
        execution::RunScripter(control, lines, *model);
    } catch (...) {
        CaughtError error = DescribeCaughtException();
        throw LibraryError(error.code, kScenarioFailed + error.message);
    }
}

void RunScenarioFile(IZModel** model, std::string_view fileName) {
    const std::wstring path = execution::ExpandFileName(fileName);
    const std::vector<std::string> lines =
        execution::SplitScenarioLines(execution::ReadScenarioFile(path));
    const ComPtr<IScriptControl> control = execution::CreateVBScriptControl();
    RunWrapped(control.Get(), lines, model);
}

// Used on the way out of a failed run: a kernel error here must not replace the run's error.
void RestoreModifiedQuietly(IZModel** model, bool savedModified) {
    VARIANT_BOOL modified = VARIANT_FALSE;
    if (SUCCEEDED((*model)->get_zrModified(&modified)) && modified == VARIANT_FALSE &&
        savedModified)
        (*model)->put_zrModified(VARIANT_TRUE);
}

// Swaps the application object's window handle with the host's window for the editor's life,
// so that the modal editor is owned by the host window.
class ApplicationHandleSwap {
public:
    explicit ApplicationHandleSwap(HWND owner) : saved_(Application().Handle()) {
        Application().SetHandle(owner);
    }
    ApplicationHandleSwap(const ApplicationHandleSwap&) = delete;
    ApplicationHandleSwap& operator=(const ApplicationHandleSwap&) = delete;
    ~ApplicationHandleSwap() { Application().SetHandle(saved_); }

private:
    HWND saved_;
};

void RunEditor(HWND owner, IZModel** model) {
    const ApplicationHandleSwap swap(owner);
    try {
        ShowScenarioEditor(owner, model);
    } catch (...) {
        // The editor's errors never reach the caller; the flag decides the result as usual.
    }
}

} // namespace

bool ScriptExecute(HWND owner, IZModel** model, const char* fileName) {
    if (model == nullptr || *model == nullptr || owner == nullptr)
        return false;
    const bool savedModified = ReadModified(model);
    WriteModified(model, false);
    const std::string_view name = fileName ? fileName : "";
    if (name.empty()) {
        RunEditor(owner, model);
    } else {
        try {
            RunScenarioFile(model, name);
        } catch (...) {
            // A run that fails before changing anything must not clear the caller's record of
            // unsaved changes: the flag is put back as after a run that changed nothing.
            RestoreModifiedQuietly(model, savedModified);
            throw;
        }
    }
    if (ReadModified(model))
        return true;
    WriteModified(model, savedModified);
    return false;
}

} // namespace kv
