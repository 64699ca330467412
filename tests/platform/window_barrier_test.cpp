// The barrier of the library's windows: exceptions and processor faults raised in a handler
// reach the application's exception handler, and the thread goes on as before.
#include "common/application.h"
#include "platform/barriers.h"
#include "platform/window_barrier.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace kv;

namespace {

std::vector<std::exception_ptr> caught;

void Capture(std::exception_ptr error) {
    caught.push_back(error);
}

class WindowBarrier : public testing::Test {
protected:
    void SetUp() override {
        caught.clear();
        Application().SetExceptionHandler(Capture);
    }
    void TearDown() override { Application().SetExceptionHandler(nullptr); }

    // The code of the one ProcessorFault caught, or 0.
    static std::uint32_t CaughtFaultCode() { return caught.size() == 1 ? FaultCode(caught[0]) : 0; }
    // The code of a ProcessorFault, or 0 for any other error.
    static std::uint32_t FaultCode(std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const ProcessorFault& fault) {
            return fault.Code();
        } catch (...) {
            return 0;
        }
    }
};

// Opaque to the optimiser, so the faults below really happen at run time.
int* volatile null_pointer = nullptr;
volatile int zero = 0;

TEST_F(WindowBarrier, WorkThatSucceedsRunsOnce) {
    int runs = 0;
    EXPECT_TRUE(RunWindowHandler([&] { ++runs; }));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(caught.empty());
}

TEST_F(WindowBarrier, ExceptionReachesTheApplicationHandler) {
    EXPECT_FALSE(RunWindowHandler([] { throw LibraryError(E_FAIL, L"сбой"); }));
    ASSERT_EQ(caught.size(), 1u);
    try {
        std::rethrow_exception(caught[0]);
    } catch (const LibraryError& error) {
        EXPECT_EQ(error.Code(), E_FAIL);
        EXPECT_EQ(error.Message(), L"сбой");
    }
}

TEST_F(WindowBarrier, AccessViolationBecomesAProcessorFault) {
    bool after_fault = false;
    EXPECT_FALSE(RunWindowHandler([&] {
        *null_pointer = 1;
        after_fault = true;
    }));
    EXPECT_FALSE(after_fault);
    EXPECT_EQ(CaughtFaultCode(), static_cast<std::uint32_t>(EXCEPTION_ACCESS_VIOLATION));
}

TEST_F(WindowBarrier, IntegerDivisionByZeroBecomesAProcessorFault) {
    int result = 0;
    EXPECT_FALSE(RunWindowHandler([&] { result = 10 / zero; }));
    EXPECT_EQ(CaughtFaultCode(), static_cast<std::uint32_t>(EXCEPTION_INT_DIVIDE_BY_ZERO));
}

TEST_F(WindowBarrier, FaultsCanBeCaughtAgainAndAgain) {
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(RunWindowHandler([] { *null_pointer = 2; }));
    EXPECT_EQ(caught.size(), 3u);
    EXPECT_TRUE(RunWindowHandler([] {}));
}

TEST_F(WindowBarrier, InnerBarrierCatchesTheFaultAndTheOuterGoesOn) {
    bool outer_finished = false;
    EXPECT_TRUE(RunWindowHandler([&] {
        EXPECT_FALSE(RunWindowHandler([] { *null_pointer = 3; }));
        outer_finished = true;
    }));
    EXPECT_TRUE(outer_finished);
    EXPECT_EQ(CaughtFaultCode(), static_cast<std::uint32_t>(EXCEPTION_ACCESS_VIOLATION));
}

TEST_F(WindowBarrier, FaultsHandledDeeperNeverReachIt) {
    // The platform probes the pointer with a handler of its own, which sees the fault first.
    BOOL bad = FALSE;
    EXPECT_TRUE(RunWindowHandler([&] { bad = IsBadReadPtr(null_pointer, 4); }));
    EXPECT_TRUE(bad);
    EXPECT_TRUE(caught.empty());
}

TEST_F(WindowBarrier, FaultRaisedByTheSystemIsCaughtWithItsCode) {
    EXPECT_FALSE(
        RunWindowHandler([] { RaiseException(EXCEPTION_ILLEGAL_INSTRUCTION, 0, 0, nullptr); }));
    EXPECT_EQ(CaughtFaultCode(), static_cast<std::uint32_t>(EXCEPTION_ILLEGAL_INSTRUCTION));
}

// A recursion that only a stack overflow ends when `depth` is out of reach: every call goes
// through a volatile pointer and uses its frame after the call returns, so the compiler can turn
// it neither into a loop nor into a tail call.
void Recurse(unsigned depth);
void (*volatile recurse)(unsigned) = Recurse;
void Recurse(unsigned depth) {
    volatile char frame[256];
    frame[0] = static_cast<char>(depth);
    if (depth > 0)
        recurse(depth - 1);
    frame[1] = frame[0];
}

struct OverflowRun {
    bool overflow_returned[2] = {true, true};
    bool deep_work_returned = false;
    bool error_returned = true;
};

// The exit code of a thread that ran to its end; an overflow nobody catches ends it with another.
constexpr DWORD kThreadFinished = 0x600D;

DWORD WINAPI OverflowTwiceThenWork(void* run_pointer) {
    auto& run = *static_cast<OverflowRun*>(run_pointer);
    for (bool& returned : run.overflow_returned)
        returned = RunWindowHandler([] { recurse(~0u); });
    // A hundred kilobytes of stack and an exception, on the same thread.
    run.deep_work_returned = RunWindowHandler([] { recurse(400); });
    run.error_returned = RunWindowHandler([] { throw LibraryError(E_FAIL, L"после"); });
    return kThreadFinished;
}

// The second overflow is caught only if the barrier put back the guard page that the first one
// used up. A thread of its own, so that a fault nobody catches fails the test, not the program.
TEST_F(WindowBarrier, StackOverflowIsCaughtAgainAndTheThreadGoesOn) {
    OverflowRun run;
    HANDLE thread = CreateThread(nullptr, 0, OverflowTwiceThenWork, &run, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 60000), WAIT_OBJECT_0);
    DWORD exit_code = 0;
    GetExitCodeThread(thread, &exit_code);
    CloseHandle(thread);
    ASSERT_EQ(exit_code, kThreadFinished)
        << "the thread ended at a stack overflow; reports: " << caught.size();

    EXPECT_FALSE(run.overflow_returned[0]);
    EXPECT_FALSE(run.overflow_returned[1]);
    EXPECT_TRUE(run.deep_work_returned);
    EXPECT_FALSE(run.error_returned);
    ASSERT_EQ(caught.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(FaultCode(caught[i]), static_cast<std::uint32_t>(EXCEPTION_STACK_OVERFLOW))
            << "overflow " << i + 1;
        try {
            std::rethrow_exception(caught[i]);
        } catch (const ProcessorFault& fault) {
            EXPECT_TRUE(fault.Message().starts_with(L"Stack overflow (C00000FD) at address "))
                << testing::PrintToString(fault.Message());
        } catch (...) {
        }
    }
    EXPECT_EQ(FaultCode(caught[2]), 0u) << "the library error after the overflows";
}

TEST(ProcessorFault, NamesTheFaultItsCodeAndAddress) {
    const ProcessorFault fault(EXCEPTION_ACCESS_VIOLATION, 0x401000);
    // The address is written at pointer width.
    const bool wide = sizeof(void*) == 8;
    EXPECT_EQ(fault.Message(), wide ? L"Access violation (C0000005) at address 0000000000401000"
                                    : L"Access violation (C0000005) at address 00401000");
    EXPECT_STREQ(fault.what(), wide ? "Access violation (C0000005) at address 0000000000401000"
                                    : "Access violation (C0000005) at address 00401000");
}

} // namespace
