#include "platform/module_lifetime.h"

#include <atomic>

namespace kv {

namespace {
std::atomic<long> module_references{0};
}

void ModuleAddRef() noexcept {
    ++module_references;
}

void ModuleRelease() noexcept {
    --module_references;
}

bool ModuleInUse() noexcept {
    return module_references.load() != 0;
}

} // namespace kv
