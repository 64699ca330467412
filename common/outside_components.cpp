#include "common/outside_components.h"

#include "platform/barriers.h"
#include "platform/system_error_text.h"

namespace kv {

using Microsoft::WRL::ComPtr;

namespace {

ComPtr<IUnknown> Create(const CLSID& component, const IID& interface_id) {
    ComPtr<IUnknown> created;
    const HRESULT hr =
        CoCreateInstance(component, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                         interface_id, reinterpret_cast<void**>(created.GetAddressOf()));
    if (FAILED(hr) || !created)
        throw LibraryError(FAILED(hr) ? hr : E_NOINTERFACE,
                           SystemErrorText(FAILED(hr) ? hr : E_NOINTERFACE));
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

} // namespace kv
