// The error barrier of the library's windows: every window procedure and event handler of the
// library runs its work through RunWindowHandler, so that nothing escapes into the host's
// message loop. An exception escaping the work goes to the failure handler that the
// application object installs (HandleError once the library has started).
//
// Processor faults (access violation, arithmetic faults, illegal instructions, stack overflow and
// the like) raised inside the work are caught as well: the barrier installs a frame-based exception
// handler (the mechanism of __try, which GCC lacks: on i386 a registration record in the
// thread's chain, on x64 a small assembly frame whose unwind information names the handler)
// that lets every handler nested deeper see the fault first, then unwinds those nested frames
// and returns into the barrier, where the fault becomes a ProcessorFault exception. The C++
// frames between the fault and the barrier are abandoned without running their destructors:
// what they held is leaked, which is why the fault is converted only at the barrier and never
// thrown from the faulting code.
// A stack overflow is caught like the other faults: every thread that runs the barrier keeps a
// reserve at the bottom of its stack for the overflow's dispatch (the guard page is placed above
// it at the thread's first run), and back in its own frame the barrier puts back the guard page
// that the overflow used up, so that the next overflow is caught too.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

namespace kv {

// A processor or operating-system fault caught by the barrier.
class ProcessorFault : public std::exception {
public:
    ProcessorFault(std::uint32_t code, std::uintptr_t address);

    std::uint32_t Code() const noexcept { return code_; }
    std::uintptr_t Address() const noexcept { return address_; }
    // For example "Access violation (C0000005) at address 0040123A" (the address at pointer
    // width: 16 digits in a 64-bit process).
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return ansi_message_.c_str(); }

private:
    std::uint32_t code_;
    std::uintptr_t address_;
    std::wstring message_;
    std::string ansi_message_;
};

// Where the barrier passes what it caught; until a handler is set it is dropped.
using WindowFailureHandler = void (*)(std::exception_ptr error);
void SetWindowFailureHandler(WindowFailureHandler handler) noexcept;

// Runs `work(context)`; returns false when an error or a fault was reported instead.
bool RunGuarded(void (*work)(void* context), void* context) noexcept;

template <class Work> bool RunWindowHandler(Work&& work) noexcept {
    using Stored = std::remove_reference_t<Work>;
    return RunGuarded([](void* context) { (*static_cast<Stored*>(context))(); },
                      const_cast<void*>(static_cast<const void*>(std::addressof(work))));
}

} // namespace kv
