// One count of everything that keeps the library loaded: live COM objects (class factories
// included) and locks on a class factory. DllCanUnloadNow answers from it.
#pragma once

namespace kv {

void ModuleAddRef() noexcept;
void ModuleRelease() noexcept;
bool ModuleInUse() noexcept;

// Held by every COM object of the library for its whole life.
class ModuleReference {
public:
    ModuleReference() noexcept { ModuleAddRef(); }
    ~ModuleReference() { ModuleRelease(); }
    ModuleReference(const ModuleReference&) = delete;
    ModuleReference& operator=(const ModuleReference&) = delete;
};

} // namespace kv
