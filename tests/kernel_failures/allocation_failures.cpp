// The allocator of a test build of korvalith.dll: the library's own allocations (its C++ runtime
// is linked in) go through these, and the Nth one from when the switch is set throws
// std::bad_alloc, as an exhausted heap does. Off, it costs one relaxed load per allocation.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>

namespace {

std::atomic<bool> counting{false};
std::atomic<long> counted{0};
std::atomic<long> failing{0}; // the number of the allocation that fails; 0 for none
void* stack[32];
USHORT frames = 0;

// A failure that ends the process names where the allocation failed, module and offset.
[[noreturn]] void ShowFailedAllocation() {
    for (USHORT i = 0; i < frames; ++i) {
        HMODULE module = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<const char*>(stack[i]), &module);
        char name[MAX_PATH] = "?";
        GetModuleFileNameA(module, name, MAX_PATH);
        std::fprintf(stderr, "  %s+0x%llx\n", name,
                     static_cast<unsigned long long>(static_cast<const char*>(stack[i]) -
                                                     reinterpret_cast<const char*>(module)));
    }
    std::fflush(stderr);
    std::abort();
}

void* Allocate(std::size_t size) {
    if (counting.load(std::memory_order_relaxed)) {
        const long number = ++counted;
        if (number == failing.load()) {
            frames = RtlCaptureStackBackTrace(0, 32, stack, nullptr);
            throw std::bad_alloc();
        }
    }
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void* AllocateOrNull(std::size_t size) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

// nth > 0: the nth allocation from now fails; nth < 0: allocations are only counted; 0: off.
// The count restarts either way.
extern "C" __declspec(dllexport) void __stdcall kvSetAllocationFailure(long nth) {
    std::set_terminate(ShowFailedAllocation);
    counting = false;
    counted = 0;
    failing = nth > 0 ? nth : 0;
    counting = nth != 0;
}

// The allocations counted since the switch was set.
extern "C" __declspec(dllexport) long __stdcall kvAllocationCount() {
    return counted.load();
}
