// Switches of the kernel's behaviour where model kernels differ, set through IZModelAdmin by
// tests. They hold for every model of the process, since the library under test makes models of
// its own, and are off when the DLL is loaded; reading one costs an atomic load.
#pragma once

#include <atomic>

namespace zk::com {

struct KernelSwitches {
    // zrHandlerOwners answers a 2-D array of texts instead of one of variants holding texts.
    std::atomic<bool> handler_owners_as_texts{false};
    // Filters, classes and attributes are found by name ignoring letter case (name_lookup.h).
    std::atomic<bool> name_lookup_ignores_case{false};
};

inline KernelSwitches kernel_switches;

} // namespace zk::com
