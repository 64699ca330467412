// Helpers of the tests that drive zkernel.dll through COM: registration with the real
// regsvr32, models by ProgID, owned BSTRs, error information and files.
#pragma once

#include "support/process.h"
#include "support/wide_text.h"

#include <zkernel.h>

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>

namespace zk::testing {

using Microsoft::WRL::ComPtr;

// Each test runs in a single-threaded apartment.
class ComTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// zkernel.dll beside the test program.
std::wstring KernelDllPath();

ComPtr<IZModel> NewModel();
ComPtr<IZClassVector> ClassVector(IZModel* model);
ComPtr<IZClass> AddClass(IZModel* model, const wchar_t* name);
ComPtr<IZClassValue> AddAttribute(IZClass* cls, const wchar_t* name);
std::wstring NameOf(IZClass* cls);
std::wstring NameOf(IZClassValue* cval);

// A BSTR owned for the length of a call.
class Bstr {
public:
    Bstr() = default;
    Bstr(const wchar_t* text) : value_(SysAllocString(text)) {}
    Bstr(const std::wstring& text)
        : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(value_); }
    operator BSTR() const { return value_; }
    BSTR* put() {
        SysFreeString(value_);
        value_ = nullptr;
        return &value_;
    }
    std::wstring str() const { return value_ ? std::wstring(value_, SysStringLen(value_)) : L""; }

private:
    BSTR value_ = nullptr;
};

// A switch of the kernel's behaviour (an IZModelAdmin setter) on for the life of the object,
// through a model of its own; it holds for every model of the process meanwhile.
class KernelSwitch {
public:
    using Setter = HRESULT (STDMETHODCALLTYPE IZModelAdmin::*)(VARIANT_BOOL);
    explicit KernelSwitch(Setter set);
    KernelSwitch(const KernelSwitch&) = delete;
    KernelSwitch& operator=(const KernelSwitch&) = delete;
    ~KernelSwitch(); // off again

private:
    ComPtr<IZModelAdmin> admin_;
    Setter set_;
};

// The description of the thread's error information ("" when there is none).
std::wstring ErrorText();

// A fresh path in the temporary folder, removed by the destructor.
class TempFile {
public:
    explicit TempFile(const std::wstring& name);
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile();
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& data);
using kvtest::Utf8FromWide;

} // namespace zk::testing
