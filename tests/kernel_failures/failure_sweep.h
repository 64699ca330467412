// Sweeps of an operation over every kernel call it makes: the kernel stand-in's failure switch
// (which holds for every model of the process) fails the Nth call, with an error or with no
// object where one is due, for every N the operation reaches, and the test checks what the
// operation left behind each time.
#pragma once

#include "support/stand_in_model.h"

#include <windows.h>

#include <zkernel.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace kvtest {

enum class FailureKind : long {
    Error = 0,    // the call fails, its error information naming the method
    NoObject = 1, // the call succeeds with no object in its object out-value
};

const char* KindName(FailureKind kind);
// Names a run in a message: "call 7 failing with no object".
std::string Where(long nth, FailureKind kind);

// The part of the stand-in's error text that every failing call carries.
constexpr wchar_t kStandInFailureText[] = L"the failure switch of the kernel stand-in";

class KernelCallSwitch {
public:
    KernelCallSwitch();
    ~KernelCallSwitch(); // off
    KernelCallSwitch(const KernelCallSwitch&) = delete;
    KernelCallSwitch& operator=(const KernelCallSwitch&) = delete;

    void CountOnly();
    void FailAt(long nth, FailureKind kind);
    void Off();
    // Calls `call` with the nth kernel call failing as `kind`, the switch off again after it.
    template <class Call> auto WhileFailing(long nth, FailureKind kind, Call call) {
        FailAt(nth, kind);
        auto result = call();
        Off();
        return result;
    }
    long Calls() const;
    // The interfaces called since the switch was set, as registry-form IID texts.
    std::set<std::wstring> Interfaces() const;

private:
    ComPtr<IZModelAdmin> admin_;
};

// What an operation asks of the kernel when nothing fails.
struct OperationCalls {
    long calls = 0;
    std::set<std::wstring> interfaces;
};

// Counts the calls of one run of the operation.
OperationCalls CountCalls(KernelCallSwitch& kernel, const std::function<void()>& operation);

// The interfaces of `expected` that the calls did not reach, by name ("" when all were).
std::string MissingInterfaces(const OperationCalls& calls,
                              std::initializer_list<std::pair<const char*, IID>> expected);

// The same for every interface that a walk over a whole structure reaches: the model, its class
// vector, classes, attributes and their properties, the filters and the security.
std::string MissingStructureInterfaces(const OperationCalls& calls);

// Runs the check for every call number of the operation, with both kinds of failure.
void ForEveryFailure(long calls, const std::function<void(long nth, FailureKind kind)>& check);

// Answers every dialog that a thread shows (Escape, then its Cancel or No button), from a
// thread of its own, so that an operation that shows a message goes on; counts them.
class DialogAnswerer {
public:
    explicit DialogAnswerer(DWORD thread = GetCurrentThreadId());
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    int Answered() const { return answered_.load(); }

private:
    DWORD thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> answered_{0};
    std::thread watcher_;
};

// The visible top-level windows of the calling thread, other than `except`, by their texts.
std::vector<std::wstring> VisibleWindowsBesides(HWND except);

// The checks of every run: a failure shows with a message (`error`, "" for none), an error's
// carrying the stand-in's text; no window of the test's thread but `owner` is left open.
void ExpectFailureShown(bool failed, const std::wstring& error, long nth, FailureKind kind,
                        HWND owner);

} // namespace kvtest
