// Time and memory as the benchmark reads them. The machine is shared, so the processor time of
// the process is what the work cost; the wall clock is kept beside it. The peak working set is
// the process's own: every operation runs in a process of its own.
#pragma once

#include <windows.h>

#include <algorithm>
#include <limits>

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

} // namespace kvbench
