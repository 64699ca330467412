#include "support/script_control.h"

#include "support/stand_in_model.h"
#include "support/wide_text.h"

#include <vector>

namespace kvtest {
namespace {

// A VARIANT holding a text, cleared when it goes.
class TextArgument {
public:
    explicit TextArgument(const std::wstring& text) {
        VariantInit(&value_);
        V_VT(&value_) = VT_BSTR;
        V_BSTR(&value_) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    ~TextArgument() { VariantClear(&value_); }
    TextArgument(const TextArgument&) = delete;
    TextArgument& operator=(const TextArgument&) = delete;
    VARIANT* Get() { return &value_; }

private:
    VARIANT value_;
};

} // namespace

ScriptControl::ScriptControl() {
    CLSID clsid;
    Check(CLSIDFromProgID(L"MSScriptControl.ScriptControl", &clsid), "ScriptControl ProgID");
    Check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&control_)),
          "ScriptControl creation");
    TextArgument language(L"VBScript");
    Check(Invoke(L"Language", DISPATCH_PROPERTYPUT, {language.Get()}), "ScriptControl language");
}

HRESULT ScriptControl::AddCode(const std::wstring& code) {
    TextArgument text(code);
    return Invoke(L"AddCode", DISPATCH_METHOD, {text.Get()});
}

HRESULT ScriptControl::Run(const wchar_t* procedure, IDispatch* argument) {
    TextArgument name(procedure);
    VARIANT object;
    VariantInit(&object);
    V_VT(&object) = VT_DISPATCH;
    V_DISPATCH(&object) = argument;
    argument->AddRef();
    const HRESULT hr = Invoke(L"Run", DISPATCH_METHOD, {name.Get(), &object});
    VariantClear(&object);
    return hr;
}

HRESULT ScriptControl::Invoke(const wchar_t* member, WORD flags,
                              std::initializer_list<VARIANT*> arguments) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    Check(control_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), "member");
    std::vector<VARIANT> reversed; // IDispatch takes the last argument first
    for (VARIANT* argument : arguments)
        reversed.insert(reversed.begin(), *argument);
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO error = {};
    const HRESULT hr =
        control_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &error, nullptr);
    VariantClear(&result);
    SysFreeString(error.bstrSource);
    SysFreeString(error.bstrDescription);
    SysFreeString(error.bstrHelpFile);
    return hr;
}

bool ScenarioCompiles(const std::string& scenario, std::wstring& error) {
    // Compiled inside a function that is never called: nothing of the scenario runs.
    const std::wstring program = L"function Scripter( mdl )\r\n" + Widen(scenario) +
                                 L"\r\nend function\r\n";
    ScriptControl control;
    const HRESULT hr = control.AddCode(program);
    if (SUCCEEDED(hr))
        return true;
    wchar_t code[16];
    swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    error = std::wstring(L"AddCode failed: ") + code;
    return false;
}

} // namespace kvtest
