// The outside COM components that the library creates beside the model kernel: the log server
// (error logging) and the directory component (the scenario editor's help).
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <wrl/client.h>

// {0A368D69-0E0E-4332-AFF1-BC4AFABE13E8}
constexpr CLSID CLSID_CoLogServer = {
    0x0A368D69, 0x0E0E, 0x4332, {0xAF, 0xF1, 0xBC, 0x4A, 0xFA, 0xBE, 0x13, 0xE8}};
// {498EE88D-D995-4A15-89F9-D6C438862327}
constexpr IID IID_ILogServer = {
    0x498EE88D, 0xD995, 0x4A15, {0x89, 0xF9, 0xD6, 0xC4, 0x38, 0x86, 0x23, 0x27}};
// {2E2AF920-73CD-4797-8EBD-7F501CB3581D}
constexpr CLSID CLSID_CoTarnbridge = {
    0x2E2AF920, 0x73CD, 0x4797, {0x8E, 0xBD, 0x7F, 0x50, 0x1C, 0xB3, 0x58, 0x1D}};
// {79834078-FF64-42B2-AD6D-501A448AFA3E}
constexpr IID IID_ITarnbridge = {
    0x79834078, 0xFF64, 0x42B2, {0xAD, 0x6D, 0x50, 0x1A, 0x44, 0x8A, 0xFA, 0x3E}};

// The log server's interface as the library calls it. Only LogError and LogNote are used; they
// sit at vtable entries 8 and 9 (IUnknown's three counted from 0), so five entries the library
// never calls come before them.
struct ILogServer : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
    virtual HRESULT STDMETHODCALLTYPE LogError(BSTR module, BSTR object, BSTR method, LONG code,
                                               BSTR message, BSTR details) = 0;
    virtual HRESULT STDMETHODCALLTYPE LogNote(BSTR note) = 0;
};
__CRT_UUID_DECL(ILogServer, 0x498EE88D, 0xD995, 0x4A15, 0x89, 0xF9, 0xD6, 0xC4, 0x38, 0x86, 0x23,
                0x27)

namespace kv {

// A new log server (in-process or local); raises a LibraryError when it cannot be created.
Microsoft::WRL::ComPtr<ILogServer> CoLogServer();
// A new directory component, as its interface IID_ITarnbridge (declared by its user).
Microsoft::WRL::ComPtr<IUnknown> CoTarnbridge();

} // namespace kv
