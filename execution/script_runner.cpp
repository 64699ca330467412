#include "script_runner.h"

#include "common/application.h"
#include "common/com_owners.h"
#include "common/export_barrier.h"
#include "common/text_conversion.h"
#include "safe_array.h"
#include "scenario_editor.h"
#include "scenario_file.h"
#include "scenario_text.h"
#include "script_control.h"
#include "system_text.h"

#include <wrl/client.h>

#include <new>
#include <string>
#include <vector>

namespace kv {

using execution::SystemText;
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

enum class ScriptPhase { Compile, Run };

// What the control reports about its last error. Where the engine leaves the description empty
// (Wine's VBScript does for its own errors), the message is built from the error's place,
// counted in the scenario's lines (the wrapper's first line is not the user's) and in
// characters from 1, and, for a run-time error, the system's text of its number.
std::wstring ScriptErrorText(IScriptControl* control, HRESULT failed, ScriptPhase phase,
                             std::size_t lineCount) {
    ComPtr<IScriptError> error;
    if (FAILED(control->get_Error(&error)) || !error)
        return SystemText(failed);
    Bstr description;
    if (SUCCEEDED(error->get_Description(description.Out())) && !description.View().empty())
        return std::wstring(description.View());
    long number = 0, line = 0, column = 0;
    error->get_Number(&number);
    error->get_Line(&line);
    error->get_Column(&column);
    if (number == 0 && line == 0)
        return SystemText(failed);

    std::wstring text = phase == ScriptPhase::Compile ? L"Синтаксическая ошибка" : L"Ошибка";
    const long scenarioLine = line - 1;
    if (scenarioLine >= 1 && static_cast<std::size_t>(scenarioLine) <= lineCount)
        text += L" в строке " + std::to_wstring(scenarioLine) + L", позиция " +
                std::to_wstring(column + 1);
    else
        text += L" в конце сценария";
    if (phase == ScriptPhase::Run && number != 0 && number != E_FAIL) {
        // VBScript's own numbers are the code of a control-facility status.
        const HRESULT status = number > 0 && number <= 0xFFFF
                                   ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number)
                                   : static_cast<HRESULT>(number);
        text += L": " + SystemText(status);
    }
    return text;
}

void CheckScript(IScriptControl* control, HRESULT hr, ScriptPhase phase, std::size_t lineCount) {
    if (FAILED(hr))
        throw LibraryError(hr, ScriptErrorText(control, hr, phase, lineCount));
}

// The one argument of Scripter: the model as an automation object, in a 0..0 array.
void PutModelArgument(SAFEARRAY* arguments, IZModel* model) {
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_DISPATCH;
    argument.pdispVal = model;
    LONG index = 0;
    check(SafeArrayPutElement(arguments, &index, &argument)); // copies: the array holds a reference
}

// Compiles the wrapped scenario and calls Scripter with the model. Whatever fails here is
// raised again with the prefix that marks a failed scenario.
void RunWrapped(IScriptControl* control, const std::vector<std::string>& lines, IZModel** model) {
    try {
        const Bstr code(WideFromAnsi(execution::WrapScenario(lines)));
        CheckScript(control, control->AddCode(code.Get()), ScriptPhase::Compile, lines.size());
        SafeArray arguments(SafeArrayCreateVector(VT_VARIANT, 0, 1));
        if (!arguments.Get())
            throw std::bad_alloc();
        PutModelArgument(arguments.Get(), *model);
        const Bstr procedure(L"Scripter"); // the function that WrapScenario defines
        Variant result;                    // discarded
        CheckScript(control, control->Run(procedure.Get(), arguments.Address(), result.Get()),
                    ScriptPhase::Run, lines.size());
    } catch (...) {
        CaughtError error = DescribeCaughtException();
        throw LibraryError(error.code, kScenarioFailed + error.message);
    }
}

void RunScenarioFile(IZModel** model, std::string_view fileName) {
    const std::wstring path = execution::ExpandFileName(fileName);
    const std::vector<std::string> lines =
        execution::SplitScenarioLines(execution::ReadScenarioFile(path));
    ComPtr<IScriptControl> control;
    check(CoCreateInstance(CLSID_ScriptControl, nullptr, CLSCTX_INPROC_SERVER,
                           IID_PPV_ARGS(&control)));
    const Bstr language(L"vbscript");
    check(control->put_Language(language.Get()));
    check(control->put_Timeout(-1));
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
