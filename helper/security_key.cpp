#include "security_key.h"

#include "common/export_barrier.h"

#include <zkernel.h>
#include <wrl/client.h>

#include <cstring>

using Microsoft::WRL::ComPtr;

namespace {

GUID KeyFromWords(const LONG (&words)[4]) {
    GUID key;
    static_assert(sizeof(key) == sizeof(words));
    std::memcpy(&key, words, sizeof(key));
    return key;
}

} // namespace

std::optional<GUID> SecurityKeyOf(IUnknown* item) {
    if (!item)
        return std::nullopt;
    LONG words[4] = {};
    ComPtr<IZClassValue> cval;
    if (SUCCEEDED(item->QueryInterface(IID_PPV_ARGS(&cval)))) {
        check(cval->zrGetSecurityKey(&words[0], &words[1], &words[2], &words[3]));
        return KeyFromWords(words);
    }
    ComPtr<IZClass> cls;
    if (SUCCEEDED(item->QueryInterface(IID_PPV_ARGS(&cls)))) {
        check(cls->zrGetSecurityKey(&words[0], &words[1], &words[2], &words[3]));
        return KeyFromWords(words);
    }
    return std::nullopt;
}
