// Time and memory as the benchmark reads them. The machine is shared, so the processor time of
// the process is what the work cost; the wall clock is kept beside it. The peak working set is
// the process's own: every operation runs in a process of its own.
#pragma once

#include <windows.h>

#include <algorithm>
#include <limits>
#include <memory>

namespace kvbench {

struct Elapsed {
    double cpu = 0;  // seconds of processor time (user and kernel) of the whole process
    double wall = 0; // seconds of wall-clock time
};

Elapsed Now();

template <class Work> Elapsed Measure(Work&& work) {
    const Elapsed start = Now();
    work();
    const Elapsed end = Now();
    return {end.cpu - start.cpu, end.wall - start.wall};
}

// The best of several runs: the one least disturbed by other work on the machine.
struct Best {
    Elapsed best{std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
    void Add(const Elapsed& run) {
        best.cpu = std::min(best.cpu, run.cpu);
        best.wall = std::min(best.wall, run.wall);
    }
};

// The peak working set of this process so far, in megabytes.
double PeakMegabytes();

// The private bytes of this process now, in megabytes: PrivateUsage, or where that reads 0 (Wine
// 8 leaves it unset) PagefileUsage, the same commit charge, which Wine fills from the process's
// resident anonymous memory.
double PrivateMegabytes();

// How far the private bytes rise above their level at the start while the work runs: the
// highest of samples taken by a thread of its own every millisecond and at the end. Windows
// keeps only the peak of the process's whole life (PeakPagefileUsage), which no run can reset,
// and Wine 8 puts the current value there. The sampling costs processor time (a sample reads
// /proc under Wine, about 0.1 ms), so the timed runs never sample.
class PrivatePeakSampler {
public:
    PrivatePeakSampler();
    ~PrivatePeakSampler();
    double Growth(); // stops the sampling; megabytes above the start
private:
    struct State;
    std::unique_ptr<State> state_;
};

template <class Work> double GrowthMegabytes(Work&& work) {
    PrivatePeakSampler sampler;
    work();
    return sampler.Growth();
}

} // namespace kvbench
