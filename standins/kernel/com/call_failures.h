// The failure switch of the kernel stand-in, for tests of what the library does when any call of
// the kernel fails: off when the DLL is loaded, costing one atomic load per call then. Once set
// (IZModelAdmin::zrSetCallFailure, or ZKERNEL_FAIL_CALL for a whole process), every call of a
// method of the kernel's interfaces is counted: IUnknown and IDispatch plumbing aside, and a
// call through Invoke once, as the method it reaches. The Nth call fails with error information
// that names the method, or, as the other kind, answers success with no object where the method
// gives one (the call is made, then its object is dropped). Counting alone tells a test how many
// calls an operation makes and which interfaces it uses.
#pragma once

#include <windows.h>

#include <atomic>
#include <optional>
#include <vector>

namespace zk::com {

enum class CallFailure : long {
    Error = 0,    // the call fails: E_FAIL with the method named
    NoObject = 1, // the call answers S_OK with its object out-value null
};

// nth > 0: the nth call from now fails as `kind`; nth < 0: calls are only counted; 0: off.
// Either way the count and the interfaces restart.
void SetCallFailure(long nth, CallFailure kind);
long CallsCounted();
// The interfaces whose methods were called since the switch was set, each once.
std::vector<IID> InterfacesCalled();

namespace detail {
inline std::atomic<bool> call_switch_on{false};
// Counts the call; the failure this call is to show, if it is the one.
std::optional<CallFailure> CountCall(REFIID iid);
} // namespace detail

// Whether the switch counts calls at all: the cheap test made first.
inline bool CallSwitchOn() {
    return detail::call_switch_on.load(std::memory_order_relaxed);
}

} // namespace zk::com
