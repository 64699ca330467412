// The stand-in's objects: the log server and the recorder, and the calls they share.
#pragma once

#include "log_recorder.h"

#include <string>
#include <vector>

// {0A368D69-0E0E-4332-AFF1-BC4AFABE13E8}
constexpr CLSID CLSID_StandInLogServer = {
    0x0A368D69, 0x0E0E, 0x4332, {0xAF, 0xF1, 0xBC, 0x4A, 0xFA, 0xBE, 0x13, 0xE8}};
// {498EE88D-D995-4A15-89F9-D6C438862327}
constexpr IID IID_StandInLogServer = {
    0x498EE88D, 0xD995, 0x4A15, {0x89, 0xF9, 0xD6, 0xC4, 0x38, 0x86, 0x23, 0x27}};

// The log server's interface: LogError and LogNote are entries 8 and 9 of the vtable (IUnknown's
// three counted from 0); the five entries before them are not used by the library.
struct IStandInLogServer : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Unused3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused7() = 0;
    virtual HRESULT STDMETHODCALLTYPE LogError(BSTR module, BSTR object, BSTR method, LONG code,
                                               BSTR message, BSTR details) = 0;
    virtual HRESULT STDMETHODCALLTYPE LogNote(BSTR note) = 0;
};

// Process-wide records; the stand-in is used on one thread at a time.
std::vector<std::wstring>& RecordedCalls();
bool& LogServerCreatable();
bool& LogServerFailing();

HRESULT CreateLogServer(const IID& iid, void** object);
HRESULT CreateLogRecorder(const IID& iid, void** object);
