// The log-server stand-in of kvstandins.dll, as tests see it. The log server itself
// ({0A368D69-0E0E-4332-AFF1-BC4AFABE13E8}) records every LogError and LogNote call in the
// process; the recorder class gives the records to tests, and can make the log server refuse to
// be created (as when none is installed) or fail its calls.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

// {6C1B3E52-8D4A-4F5B-9E27-3A0D5C8B1F64}
constexpr CLSID CLSID_KvLogRecorder = {
    0x6C1B3E52, 0x8D4A, 0x4F5B, {0x9E, 0x27, 0x3A, 0x0D, 0x5C, 0x8B, 0x1F, 0x64}};
// {B7E2A913-4C6D-4E88-A1F0-2D9B6E7C3A15}
constexpr IID IID_IKvLogRecorder = {
    0xB7E2A913, 0x4C6D, 0x4E88, {0xA1, 0xF0, 0x2D, 0x9B, 0x6E, 0x7C, 0x3A, 0x15}};

struct IKvLogRecorder : public IUnknown {
    // Every call recorded since the last Clear, one per line ("\n" after each), fields separated
    // by "|": "LogError|module|object|method|CODE|message|details" (CODE: 8 upper-case
    // hexadecimal digits) or "LogNote|note"; the directory stand-in adds "ShowHelp|file|topic".
    virtual HRESULT STDMETHODCALLTYPE Calls(BSTR* calls) = 0;
    virtual HRESULT STDMETHODCALLTYPE Clear() = 0;
    // While false, creating a log server fails with CLASS_E_CLASSNOTAVAILABLE.
    virtual HRESULT STDMETHODCALLTYPE SetCreatable(BOOL creatable) = 0;
    // While true, LogError and LogNote fail with E_FAIL and record nothing.
    virtual HRESULT STDMETHODCALLTYPE SetFailing(BOOL failing) = 0;
};
__CRT_UUID_DECL(IKvLogRecorder, 0xB7E2A913, 0x4C6D, 0x4E88, 0xA1, 0xF0, 0x2D, 0x9B, 0x6E, 0x7C,
                0x3A, 0x15)
