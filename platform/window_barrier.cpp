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

// On x64 a frame's exception handler is named in the function's unwind information, which GCC
// writes only for its own C++ frames. GuardedCall is therefore written in assembly: it calls
// `work(context)` under the handler FaultFrameHandler, answers 1 when the work returns and 0
// when the handler unwound a processor fault back into it (at GuardedCallFault).
extern "C" int GuardedCall(void (*work)(void*), void* context);
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

// The fault that unwound the innermost GuardedCall of this thread, read right after the unwind.
thread_local std::uint32_t unwound_fault_code;
thread_local std::uintptr_t unwound_fault_address;

extern "C" EXCEPTION_DISPOSITION FaultFrameHandler(EXCEPTION_RECORD* exception, void* establisher,
                                                   CONTEXT* context, DISPATCHER_CONTEXT* dispatcher) {
    if (exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    if (!IsProcessorFault(exception->ExceptionCode))
        return ExceptionContinueSearch;
    unwound_fault_code = exception->ExceptionCode;
    unwound_fault_address = reinterpret_cast<std::uintptr_t>(exception->ExceptionAddress);
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
    ReportFault(frame.code, frame.address);
    return false;
}

#elif defined(__x86_64__)

bool RunGuarded(void (*work)(void* context), void* context) noexcept {
    GuardedWork guarded{work, context, false};
    if (GuardedCall(&RunGuardedWork, &guarded))
        return guarded.done;
    // Back from a fault: the frames nested deeper are gone.
    ReportFault(unwound_fault_code, unwound_fault_address);
    return false;
}

#else
#error "the window barrier catches processor faults on i386 and x86_64 only"
#endif

} // namespace kv
