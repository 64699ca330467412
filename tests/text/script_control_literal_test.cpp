// The encodings read back by the real Script Control's VBScript engine, driven late-bound by
// member name as any automation client would: code literals evaluate to the text with CR LF
// line breaks, plain text in a template's literal to exactly that text, and a name with line
// breaks in a comment line never becomes a statement.
#include "text/literal_encoding.h"
#include "text/script_format.h"
#include "text/scenario_templates.h"
#include "vbs_string_expression.h"
#include "support/wide_text.h"

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Microsoft::WRL::ComPtr;

std::wstring WideFromAnsi(std::string_view text) {
    return kvtest::Widen(std::string(text));
}

// A VARIANT owned for one call.
struct Variant {
    VARIANT value;
    Variant() { VariantInit(&value); }
    explicit Variant(std::string_view ansiText) : Variant() {
        const std::wstring wide = WideFromAnsi(ansiText);
        V_VT(&value) = VT_BSTR;
        V_BSTR(&value) = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    }
    ~Variant() { VariantClear(&value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

// The Script Control, reached only through IDispatch by member name.
class ScriptControl {
public:
    ScriptControl() {
        CLSID clsid;
        HRESULT hr = CLSIDFromProgID(L"MSScriptControl.ScriptControl", &clsid);
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&control_));
        if (FAILED(hr))
            throw std::runtime_error("cannot create the Script Control: " + std::to_string(hr));
        Variant language("VBScript");
        Invoke(L"Language", DISPATCH_PROPERTYPUT, language.value);
    }

    void AddCode(std::string_view ansiCode) {
        Variant code(ansiCode);
        Invoke(L"AddCode", DISPATCH_METHOD, code.value);
    }

    // The value of a VBScript expression, which must be a string.
    std::wstring EvalText(std::string_view ansiExpression) {
        Variant expression(ansiExpression);
        Variant result;
        Invoke(L"Eval", DISPATCH_METHOD, expression.value, &result.value);
        if (V_VT(&result.value) != VT_BSTR)
            throw std::runtime_error("Eval gave variant type " +
                                     std::to_string(V_VT(&result.value)));
        return std::wstring(V_BSTR(&result.value), SysStringLen(V_BSTR(&result.value)));
    }

private:
    void Invoke(const wchar_t* member, WORD flags, VARIANT& argument, VARIANT* result = nullptr) {
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR name = const_cast<LPOLESTR>(member);
        HRESULT hr = control_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
        DISPID putId = DISPID_PROPERTYPUT;
        DISPPARAMS params = {&argument, nullptr, 1, 0};
        if (flags == DISPATCH_PROPERTYPUT) {
            params.rgdispidNamedArgs = &putId;
            params.cNamedArgs = 1;
        }
        EXCEPINFO error = {};
        if (SUCCEEDED(hr))
            hr = control_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &error,
                                  nullptr);
        SysFreeString(error.bstrSource);
        SysFreeString(error.bstrDescription);
        SysFreeString(error.bstrHelpFile);
        if (FAILED(hr))
            throw std::runtime_error("Script Control " +
                                     std::string(member, member + wcslen(member)) +
                                     " failed: " + std::to_string(hr));
    }

    ComPtr<IDispatch> control_;
};

class ScriptControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    void TearDown() override { CoUninitialize(); }
};

// Texts that stress the encodings: quotes, every kind of line break and their places,
// Cyrillic in Windows-1251, characters that mean something to VBScript.
std::vector<std::string> Samples() {
    std::string manyLines;
    for (int i = 0; i < 200; ++i)
        manyLines += "line \"" + std::to_string(i) + (i % 3 == 0 ? "\"\n" : "\"\r\n");
    return {"",
            "x = 1",
            "a\r\nb",
            "\r\n",
            "\r",
            "\n",
            "a\n\rb",
            "\"",
            "say \"hi\"\r\n",
            "\r\nsub x\r\n  y = \"\"\r\nend sub\r\n",
            "\xC7\xE0\xEA\xE0\xE7 \"\xB9 1\"",
            "x&\"",
            "' not a comment",
            "%s%d Chr(13) & \"&",
            manyLines};
}

TEST_F(ScriptControlTest, CodeAndModuleLiteralsEvaluateToTheTextWithCrLf) {
    ScriptControl control;
    for (const std::string& sample : Samples()) {
        const std::wstring expected = WideFromAnsi(kv::testing::WithCrLfLineBreaks(sample));
        EXPECT_EQ(control.EvalText(kv::CodeLiteral(sample)), expected) << kv::CodeLiteral(sample);
        const std::string module = '"' + kv::ModuleLiteral(sample) + '"';
        EXPECT_EQ(control.EvalText(module), expected) << module;
    }
}

TEST_F(ScriptControlTest, PlainTextInALiteralEvaluatesToExactlyTheText) {
    ScriptControl control;
    for (const std::string& sample : Samples()) {
        const std::string literal = '"' + kv::PlainTextInLiteral(sample) + '"';
        EXPECT_EQ(control.EvalText(literal), WideFromAnsi(sample)) << literal;
    }
}

TEST_F(ScriptControlTest, NameInATemplateLiteralIsAssignedUnchanged) {
    const std::string names[] = {"Order", "A\"B", "x\")\r\nProbeResult = \"injected",
                                 "\xC7\xE0\xEA\xE0\xE7\n2"};
    for (const std::string& name : names) {
        ScriptControl control;
        control.AddCode("class FakeClass\r\n  public zrName\r\nend class\r\n"
                        "function Probe()\r\n"
                        "  set cls = new FakeClass\r\n" +
                        kv::Format(kv::tplClassName, {kv::PlainTextInLiteral(name)}) +
                        "\r\n  Probe = cls.zrName\r\nend function\r\n");
        EXPECT_EQ(control.EvalText("Probe()"), WideFromAnsi(name));
    }
}

TEST_F(ScriptControlTest, NameInACommentLineCannotAddAStatement) {
    ScriptControl control;
    const std::string name = "A\r\nProbe = \"injected\"\nProbe = \"again\"";
    control.AddCode("function Probe()\r\n  Probe = \"intact\"\r\n" +
                    kv::Format(kv::tplClassComment, {kv::PlainTextInComment(name)}) +
                    "\r\nend function\r\n");
    EXPECT_EQ(control.EvalText("Probe()"), L"intact");
}

} // namespace
