#include "platform/window_barrier.h"

#include "platform/text_conversion.h"

#include <windows.h>

#include <float.h>

#include <atomic>
#include <cstdio>

namespace kv {

namespace {

const wchar_t* FaultName(std::uint32_t code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
        return L"Access violation";
    case EXCEPTION_IN_PAGE_ERROR:
        return L"In-page error";
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
        return L"Array bounds exceeded";
    case EXCEPTION_DATATYPE_MISALIGNMENT:
        return L"Data type misalignment";
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
        return L"Integer division by zero";
    case EXCEPTION_INT_OVERFLOW:
        return L"Integer overflow";
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
        return L"Floating-point fault";
    case EXCEPTION_PRIV_INSTRUCTION:
        return L"Privileged instruction";
    case EXCEPTION_ILLEGAL_INSTRUCTION:
        return L"Illegal instruction";
    case EXCEPTION_STACK_OVERFLOW:
        return L"Stack overflow";
    default:
        return nullptr;
    }
}

std::atomic<WindowFailureHandler> failure_handler{nullptr};

void PassOn(std::exception_ptr error) noexcept {
    if (const WindowFailureHandler handler = failure_handler.load())
        handler(error);
}

bool IsProcessorFault(std::uint32_t code) {
    return FaultName(code) != nullptr;
}

// Runs the work with the C++ barrier; kept out of RunGuarded so that no C++ object of the
// work's lives in the frame that the fault handler jumps back to.
__attribute__((noinline)) bool RunWithExceptionBarrier(void (*work)(void*), void* context) {
    try {
        work(context);
        return true;
    } catch (...) {
        PassOn(std::current_exception());
        return false;
    }
}

// --- room for a stack overflow -------------------------------------------------------------
//
// A stack overflow is raised when the stack's guard page comes too near the bottom of the stack,
// and the dispatcher, the fault handler and the unwind then run on what is left below it. The
// barrier asks for kOverflowReserve of it (SetThreadStackGuarantee) and keeps a guard page at the
// top of that reserve. Windows moves the guard page down as the stack grows, and an overflow
// consumes it; Wine commits the whole stack with its one guard page at the very bottom, where an
// overflow leaves the dispatcher too little to reach any handler (the thread just ends). So the
// guard page is placed once on each thread that runs a barrier, and again after every overflow,
// back in the barrier's frame where the stack is free.

constexpr ULONG kOverflowReserve = 32 * 1024;

// Whether this thread's stack has its guard page above the reserve; false until a barrier has
// placed it, and again after an overflow that it could not be put back for.
thread_local bool stack_guard_placed = false;

// The thread's information block, through its own address in it (NtCurrentTeb() of the mingw
// headers does the same, in a form that makes GCC warn).
NT_TIB* ThreadInformationBlock() {
    NT_TIB* tib;
#if defined(__i386__)
    asm("movl %%fs:0x18, %0" : "=r"(tib));
#else
    asm("movq %%gs:0x30, %0" : "=r"(tib));
#endif
    return tib;
}

std::uintptr_t PageSize() {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    return system.dwPageSize;
}

// Puts the guard page of the current thread's stack at the top of the overflow reserve unless a
// guard page is there or higher already; false when the stack is not laid out as expected or the
// current frame is too near the reserve.
__attribute__((noinline)) bool PlaceStackGuard() noexcept {
    volatile char frame = 0;
    char* const here = const_cast<char*>(&frame);
    const std::uintptr_t page = PageSize();
    MEMORY_BASIC_INFORMATION region;
    if (!VirtualQuery(here, &region, sizeof region))
        return false;
    // The lowest page of a stack is never used; the reserve lies right above it.
    char* const guard = static_cast<char*>(region.AllocationBase) + page +
                        (kOverflowReserve + page - 1) / page * page;
    char* const frame_page =
        reinterpret_cast<char*>(reinterpret_cast<std::uintptr_t>(here) & ~(page - 1));
    if (guard + page > frame_page)
        return false;
    // A guard page between the place and this frame is already where it should be: the system
    // moves it down as the stack grows. Without one (an overflow took it) the stack has been used
    // down past the place, so the place is committed.
    bool place_committed = false;
    for (char* at = guard; at < frame_page;
         at = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (!VirtualQuery(at, &region, sizeof region))
            return false;
        if (region.State == MEM_COMMIT && (region.Protect & PAGE_GUARD))
            return true;
        if (at == guard)
            place_committed = region.State == MEM_COMMIT;
    }
    if (!place_committed)
        return false;
    DWORD previous = 0;
    if (!VirtualProtect(guard, page, PAGE_READWRITE | PAGE_GUARD, &previous))
        return false;
    // The lowest address in use without touching the guard page, as the system keeps it when it
    // moves the guard itself: code that probes the stack only below it must not pass the guard.
    ThreadInformationBlock()->StackLimit = guard + page;
    return true;
}

// At the entry of every barrier: a thread's first one asks for the reserve and places the guard.
void PrepareStackForOverflow() noexcept {
    if (stack_guard_placed)
        return;
    ULONG reserve = kOverflowReserve;
    SetThreadStackGuarantee(&reserve);
    stack_guard_placed = PlaceStackGuard();
}

// Back in the barrier's frame after a stack overflow: the overflow used up the guard page.
void RestoreStackGuard(std::uint32_t code) noexcept {
    if (code == EXCEPTION_STACK_OVERFLOW)
        stack_guard_placed = PlaceStackGuard();
}

__attribute__((noinline)) void ReportFault(std::uint32_t code, std::uintptr_t address) noexcept {
    _fpreset(); // a floating-point fault leaves the unit's state behind
    try {
        throw ProcessorFault(code, address);
    } catch (...) {
        PassOn(std::current_exception());
    }
}

#if defined(__i386__)

// Laid out for the exception dispatcher: the registration record comes first.
struct FaultFrame {
    EXCEPTION_REGISTRATION_RECORD record;
    void* jump[5]; // __builtin_setjmp's buffer
    std::uint32_t code;
    std::uintptr_t address;
};

EXCEPTION_DISPOSITION NTAPI FaultFrameHandler(EXCEPTION_RECORD* exception, void* establisher,
                                              CONTEXT* context, void* dispatcher) {
    if (exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    if (!IsProcessorFault(exception->ExceptionCode))
        return ExceptionContinueSearch;
    auto* frame = static_cast<FaultFrame*>(establisher);
    frame->code = exception->ExceptionCode;
    frame->address = reinterpret_cast<std::uintptr_t>(exception->ExceptionAddress);
    // Run the termination handlers of the frames nested deeper, leaving this frame on top of
    // the chain, then resume in the barrier.
    RtlUnwind(establisher, nullptr, exception, nullptr);
    __builtin_longjmp(frame->jump, 1);
}

// The head of the thread's chain of exception registrations (fs:[0]).
EXCEPTION_REGISTRATION_RECORD* RegistrationChain() {
    EXCEPTION_REGISTRATION_RECORD* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

void SetRegistrationChain(EXCEPTION_REGISTRATION_RECORD* head) {
    asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

#elif defined(__x86_64__)

// The fault that unwound a GuardedCall, written by the handler before the unwind.
struct FaultRecord {
    std::uint32_t code;
    std::uintptr_t address;
};

// On x64 a frame's exception handler is named in the function's unwind information, which GCC
// writes only for its own C++ frames. GuardedCall is therefore written in assembly: it calls
// `work(context)` under the handler FaultFrameHandler, answers 1 when the work returns and 0
// when the handler unwound a processor fault back into it (at GuardedCallFault), the fault
// written to *fault. It keeps `fault` in its frame, in the slot above the work's home space (32
// bytes above the establisher frame), where the handler finds it without calling anything: a
// stack overflow leaves the handler little stack.
extern "C" int GuardedCall(void (*work)(void*), void* context, FaultRecord* fault);
extern "C" char GuardedCallFault[];
asm(R"(
    .text
    .p2align 4
    .def GuardedCall; .scl 3; .type 32; .endef
    .seh_proc GuardedCall
GuardedCall:
    subq $40, %rsp
    .seh_stackalloc 40
    .seh_endprologue
    .seh_handler FaultFrameHandler, @except
    movq %r8, 32(%rsp)
    movq %rcx, %rax
    movq %rdx, %rcx
    callq *%rax
    movl $1, %eax
.LGuardedCallReturn:
    addq $40, %rsp
    ret
GuardedCallFault:
    xorl %eax, %eax
    jmp .LGuardedCallReturn
    .seh_endproc
)");

extern "C" EXCEPTION_DISPOSITION FaultFrameHandler(EXCEPTION_RECORD* exception, void* establisher,
                                                   CONTEXT* context, DISPATCHER_CONTEXT* dispatcher) {
    if (exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    if (!IsProcessorFault(exception->ExceptionCode))
        return ExceptionContinueSearch;
    FaultRecord* const fault =
        *reinterpret_cast<FaultRecord**>(static_cast<char*>(establisher) + 32);
    fault->code = exception->ExceptionCode;
    fault->address = reinterpret_cast<std::uintptr_t>(exception->ExceptionAddress);
    // Runs the termination handlers of the frames nested deeper (GCC's C++ frames pass a
    // foreign exception by), then resumes in GuardedCall at GuardedCallFault.
    RtlUnwindEx(establisher, GuardedCallFault, exception, nullptr, context,
                dispatcher->HistoryTable);
    return ExceptionContinueSearch; // not reached
}

struct GuardedWork {
    void (*work)(void*);
    void* context;
    bool done;
};

void RunGuardedWork(void* guarded) {
    auto* run = static_cast<GuardedWork*>(guarded);
    run->done = RunWithExceptionBarrier(run->work, run->context);
}

#endif

} // namespace

void SetWindowFailureHandler(WindowFailureHandler handler) noexcept {
    failure_handler.store(handler);
}

ProcessorFault::ProcessorFault(std::uint32_t code, std::uintptr_t address)
    : code_(code), address_(address) {
    const wchar_t* name = FaultName(code);
    wchar_t text[128];
    // The address at pointer width: 8 digits in a 32-bit process, 16 in a 64-bit one.
    std::swprintf(text, 128, L"%ls (%08X) at address %0*llX", name ? name : L"Fault",
                  static_cast<unsigned>(code), static_cast<int>(sizeof(void*) * 2),
                  static_cast<unsigned long long>(address));
    message_ = text;
    ansi_message_ = ShownAnsiFromWide(message_);
}

#if defined(__i386__)

bool RunGuarded(void (*work)(void* context), void* context) noexcept {
    PrepareStackForOverflow();
    FaultFrame frame{};
    frame.record.Handler = &FaultFrameHandler;
    frame.record.Next = RegistrationChain();
    SetRegistrationChain(&frame.record);
    if (__builtin_setjmp(frame.jump) == 0) {
        const bool done = RunWithExceptionBarrier(work, context);
        SetRegistrationChain(frame.record.Next);
        return done;
    }
    // Back from a fault: the dispatcher's frames and the nested ones are gone.
    SetRegistrationChain(frame.record.Next);
    RestoreStackGuard(frame.code);
    ReportFault(frame.code, frame.address);
    return false;
}

#elif defined(__x86_64__)

bool RunGuarded(void (*work)(void* context), void* context) noexcept {
    PrepareStackForOverflow();
    GuardedWork guarded{work, context, false};
    FaultRecord fault{};
    if (GuardedCall(&RunGuardedWork, &guarded, &fault))
        return guarded.done;
    // Back from a fault: the frames nested deeper are gone.
    RestoreStackGuard(fault.code);
    ReportFault(fault.code, fault.address);
    return false;
}

#else
#error "the window barrier catches processor faults on i386 and x86_64 only"
#endif

} // namespace kv
