#include "execution/script_control_run.h"

#include "execution/scenario_text.h"
#include "platform/com_owners.h"
#include "platform/safe_array.h"
#include "platform/system_error_text.h"
#include "platform/text_conversion.h"

#include <new>

namespace kv::execution {

using Microsoft::WRL::ComPtr;

namespace {

enum class ScriptPhase { Compile, Run };

// What the control reports about its last error. Where the engine leaves the description empty
// (Wine's VBScript does for its own errors), the text is built from the kind of failure and, for
// a run-time error, the system's text of its number; the message adds the error's place,
// counted in the scenario's lines (the wrapper's first line is not the user's) and in
// characters from 1.
[[noreturn]] void RaiseScriptFailure(IScriptControl* control, HRESULT failed, ScriptPhase phase,
                                     std::size_t lineCount) {
    ComPtr<IScriptError> error;
    if (FAILED(control->get_Error(&error)) || !error)
        throw ScriptFailure(failed, SystemErrorText(failed), SystemErrorText(failed), 0, 0);
    Bstr description;
    long number = 0, line = 0, column = 0;
    error->get_Number(&number);
    error->get_Line(&line);
    error->get_Column(&column);
    if (SUCCEEDED(error->get_Description(description.Out())) && !description.View().empty()) {
        const std::wstring text(description.View());
        throw ScriptFailure(failed, text, text, line, column);
    }
    if (number == 0 && line == 0)
        throw ScriptFailure(failed, SystemErrorText(failed), SystemErrorText(failed), line, column);

    std::wstring built = phase == ScriptPhase::Compile ? L"Синтаксическая ошибка" : L"Ошибка";
    std::wstring reason;
    if (phase == ScriptPhase::Run && number != 0 && number != E_FAIL) {
        // VBScript's own numbers are the code of a control-facility status.
        const HRESULT status = number > 0 && number <= 0xFFFF
                                   ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number)
                                   : static_cast<HRESULT>(number);
        reason = L": " + SystemErrorText(status);
    }
    std::wstring message = built;
    const long scenarioLine = line - 1;
    if (scenarioLine >= 1 && static_cast<std::size_t>(scenarioLine) <= lineCount)
        message += L" в строке " + std::to_wstring(scenarioLine) + L", позиция " +
                   std::to_wstring(column + 1);
    else
        message += L" в конце сценария";
    throw ScriptFailure(failed, message + reason, built + reason, line, column);
}

void CheckScript(IScriptControl* control, HRESULT hr, ScriptPhase phase, std::size_t lineCount) {
    if (FAILED(hr))
        RaiseScriptFailure(control, hr, phase, lineCount);
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

} // namespace

ScriptFailure::ScriptFailure(HRESULT code, std::wstring message, std::wstring description,
                             long line, long column)
    : LibraryError(code, std::move(message)), description_(std::move(description)), line_(line),
      column_(column) {}

ComPtr<IScriptControl> CreateVBScriptControl() {
    ComPtr<IScriptControl> control;
    check(CoCreateInstance(CLSID_ScriptControl, nullptr, CLSCTX_INPROC_SERVER,
                           IID_PPV_ARGS(&control)));
    const Bstr language(L"vbscript");
    check(control->put_Language(language.Get()));
    check(control->put_Timeout(-1));
    return control;
}

void RunScripter(IScriptControl* control, const std::vector<std::string>& lines, IZModel* model) {
    const Bstr code(WideFromAnsi(WrapScenario(lines)));
    CheckScript(control, control->AddCode(code.Get()), ScriptPhase::Compile, lines.size());
    SafeArray arguments(SafeArrayCreateVector(VT_VARIANT, 0, 1));
    if (!arguments.Get())
        throw std::bad_alloc();
    PutModelArgument(arguments.Get(), model);
    const Bstr procedure(L"Scripter"); // the function that WrapScenario defines
    Variant result;                    // discarded
    CheckScript(control, control->Run(procedure.Get(), arguments.Address(), result.Get()),
                ScriptPhase::Run, lines.size());
}

} // namespace kv::execution
