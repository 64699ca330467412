#include "outside_components.h"

#include "platform/barriers.h"

#include <cstdio>

using Microsoft::WRL::ComPtr;

namespace {

// The platform's text for a failing status, or the status itself.
std::wstring StatusMessage(HRESULT hr) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message;
    if (length && text) {
        message.assign(text, length);
        while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                                    message.back() == L' ' || message.back() == L'.'))
            message.pop_back();
    }
    LocalFree(text);
    if (message.empty()) {
        wchar_t status[32];
        std::swprintf(status, 32, L"Ошибка 0x%08lX", static_cast<unsigned long>(hr));
        message = status;
    }
    return message;
}

ComPtr<IUnknown> Create(const CLSID& component, const IID& interface_id) {
    ComPtr<IUnknown> created;
    const HRESULT hr =
        CoCreateInstance(component, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                         interface_id, reinterpret_cast<void**>(created.GetAddressOf()));
    if (FAILED(hr) || !created)
        throw LibraryError(FAILED(hr) ? hr : E_NOINTERFACE,
                           StatusMessage(FAILED(hr) ? hr : E_NOINTERFACE));
    return created;
}

} // namespace

ComPtr<ILogServer> CoLogServer() {
    ComPtr<IUnknown> created = Create(CLSID_CoLogServer, IID_ILogServer);
    // Asked for by its identifier, the pointer is that interface.
    return ComPtr<ILogServer>(static_cast<ILogServer*>(created.Get()));
}

ComPtr<IUnknown> CoTarnbridge() {
    return Create(CLSID_CoTarnbridge, IID_ITarnbridge);
}
