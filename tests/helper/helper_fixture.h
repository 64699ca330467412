// A script helper made by korvalith.dll's own class factory (its IDispatch needs the type
// library embedded in the DLL), beside a kernel model to work on.
#pragma once

#include "kernel_fixture.h"
#include "support/korvalith_library.h"

#include <korvalith.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

class ScriptHelperTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ComPtr<IZScriptHelper> NewHelper();

    std::optional<kvtest::KorvalithLibrary> library_;
    ComPtr<IZScriptHelper> helper_;
    std::unique_ptr<KernelModel> kernel_;
};

// Owns a BSTR argument or result.
class Text {
public:
    explicit Text(const wchar_t* text = nullptr) : value_(text ? SysAllocString(text) : nullptr) {}
    ~Text() { SysFreeString(value_); }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    operator BSTR() const { return value_; }
    BSTR* Out() {
        SysFreeString(value_);
        value_ = nullptr;
        return &value_;
    }
    std::wstring Str() const { return value_ ? value_ : L""; }

private:
    BSTR value_;
};
