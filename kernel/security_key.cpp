#include "kernel/security_key.h"

#include "kernel/kernel_reads.h"

#include <zkernel.h>
#include <wrl/client.h>

namespace kv {

using Microsoft::WRL::ComPtr;

std::optional<GUID> SecurityKeyOf(IUnknown* item) {
    if (!item)
        return std::nullopt;
    ComPtr<IZClassValue> cval;
    if (SUCCEEDED(item->QueryInterface(IID_PPV_ARGS(&cval))))
        return kv::SecurityKeyOf(cval.Get());
    ComPtr<IZClass> cls;
    if (SUCCEEDED(item->QueryInterface(IID_PPV_ARGS(&cls))))
        return kv::SecurityKeyOf(cls.Get());
    return std::nullopt;
}

} // namespace kv
