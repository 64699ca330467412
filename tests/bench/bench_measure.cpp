#include "bench_measure.h"

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace kvbench {
namespace {

double Seconds(const FILETIME& time) {
    ULARGE_INTEGER ticks;
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    return static_cast<double>(ticks.QuadPart) / 1e7; // 100-nanosecond ticks
}

} // namespace

Elapsed Now() {
    Elapsed now;
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        now.cpu = Seconds(kernel) + Seconds(user);
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    now.wall = static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
    return now;
}

double PeakMegabytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

double PrivateMegabytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(),
                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters))
        return 0;
    const SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

struct PrivatePeakSampler::State {
    double start = PrivateMegabytes();
    std::atomic<double> peak{start};
    std::atomic<bool> stop{false};
    std::thread thread;

    void Sample() {
        const double now = PrivateMegabytes();
        double seen = peak.load();
        while (now > seen && !peak.compare_exchange_weak(seen, now)) {
        }
    }
};

PrivatePeakSampler::PrivatePeakSampler() : state_(std::make_unique<State>()) {
    state_->thread = std::thread([state = state_.get()] {
        while (!state->stop.load()) {
            state->Sample();
            Sleep(1);
        }
    });
}

PrivatePeakSampler::~PrivatePeakSampler() {
    Growth();
}

double PrivatePeakSampler::Growth() {
    if (state_->thread.joinable()) {
        state_->stop = true;
        state_->thread.join();
        state_->Sample();
    }
    return std::max(0.0, state_->peak.load() - state_->start);
}

} // namespace kvbench
