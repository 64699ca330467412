// MSScriptControl.ScriptControl driven late-bound by member name, as any automation client
// drives it, with VBScript as its language.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <initializer_list>
#include <string>

namespace kvtest {

class ScriptControl {
public:
    ScriptControl(); // throws std::runtime_error when the control cannot be made

    // Compiles the code into the control's global module.
    HRESULT AddCode(const std::wstring& code);
    // Run(procedure, argument): the argument is passed as the scenario runner passes the model.
    HRESULT Run(const wchar_t* procedure, IDispatch* argument);

private:
    HRESULT Invoke(const wchar_t* member, WORD flags, std::initializer_list<VARIANT*> arguments);

    Microsoft::WRL::ComPtr<IDispatch> control_;
};

// Whether a scenario file's text (its bytes, in the ANSI code page) compiles as the runner
// compiles it: the body of one function. The control's message when it does not.
bool ScenarioCompiles(const std::string& scenario, std::wstring& error);

} // namespace kvtest
