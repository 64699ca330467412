#include "com/call_failures.h"

#include <zkernel.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace zk::com {
namespace {

struct CallSwitch {
    std::mutex lock;
    long nth = 0; // the call to fail; 0 when only counting
    CallFailure kind = CallFailure::Error;
    long calls = 0;
    std::vector<IID> interfaces;
};

CallSwitch& Switch() {
    static CallSwitch instance;
    return instance;
}

// ZKERNEL_FAIL_CALL=N[,KIND]: a process's switch set when the DLL is first used, for hosts that
// cannot reach the admin interface (kvhost).
const bool from_environment = [] {
    const char* text = std::getenv("ZKERNEL_FAIL_CALL");
    if (!text || !*text)
        return false;
    char* rest = nullptr;
    const long nth = std::strtol(text, &rest, 10);
    const long kind = (rest && *rest == ',') ? std::strtol(rest + 1, nullptr, 10) : 0;
    SetCallFailure(nth, kind == 1 ? CallFailure::NoObject : CallFailure::Error);
    return true;
}();

} // namespace

void SetCallFailure(long nth, CallFailure kind) {
    CallSwitch& state = Switch();
    const std::lock_guard hold(state.lock);
    state.nth = nth > 0 ? nth : 0;
    state.kind = kind;
    state.calls = 0;
    state.interfaces.clear();
    detail::call_switch_on.store(nth != 0, std::memory_order_relaxed);
}

long CallsCounted() {
    CallSwitch& state = Switch();
    const std::lock_guard hold(state.lock);
    return state.calls;
}

std::vector<IID> InterfacesCalled() {
    CallSwitch& state = Switch();
    const std::lock_guard hold(state.lock);
    return state.interfaces;
}

std::optional<CallFailure> detail::CountCall(REFIID iid) {
    // The switch's own interface is how tests reach it, not a call of the kernel.
    if (IsEqualIID(iid, __uuidof(IZModelAdmin)))
        return std::nullopt;
    CallSwitch& state = Switch();
    const std::lock_guard hold(state.lock);
    ++state.calls;
    if (std::none_of(state.interfaces.begin(), state.interfaces.end(),
                     [&](const IID& known) { return IsEqualIID(known, iid); }))
        state.interfaces.push_back(iid);
    if (state.nth != 0 && state.calls == state.nth)
        return state.kind;
    return std::nullopt;
}

} // namespace zk::com
