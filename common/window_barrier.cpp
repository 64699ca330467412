#include "window_barrier.h"

#include "application.h"
#include "text_conversion.h"

#include <windows.h>

#include <float.h>

#include <cstdio>

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
        Application().HandleException(std::current_exception());
        return false;
    }
}

__attribute__((noinline)) void ReportFault(std::uint32_t code, std::uintptr_t address) noexcept {
    _fpreset(); // a floating-point fault leaves the unit's state behind
    try {
        throw ProcessorFault(code, address);
    } catch (...) {
        Application().HandleException(std::current_exception());
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

#endif

} // namespace

ProcessorFault::ProcessorFault(std::uint32_t code, std::uintptr_t address)
    : code_(code), address_(address) {
    const wchar_t* name = FaultName(code);
    wchar_t text[128];
    std::swprintf(text, 128, L"%ls (%08X) at address %08X", name ? name : L"Fault",
                  static_cast<unsigned>(code), static_cast<unsigned>(address));
    message_ = text;
    ansi_message_ = AnsiFromWide(message_);
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

#else

bool RunGuarded(void (*work)(void* context), void* context) noexcept {
    return RunWithExceptionBarrier(work, context);
}

#endif
