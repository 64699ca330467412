// One operation of the benchmark at one size, run in this process: its inputs loaded, then the
// operation and its floor by turns, the best run of each kept.
#pragma once

#include "bench_inputs.h"
#include "bench_table.h"

#include <string>
#include <vector>

namespace kvbench {

// The operations in the order the benchmark runs them.
const std::vector<std::string>& OperationNames();

// Whether the operation is measured at the replay sizes rather than the structure sizes.
bool AtReplaySizes(const std::string& operation);

// The measurement of time; an operation that fails gives a measurement that says so.
Measurement RunOperation(const Inputs& inputs, const std::string& operation, int size, int repeat);

// One run of the operation, or of its floor, in a process that has only loaded its inputs (the
// same history for both, so neither reuses what the other's runs left in the heap): own_mb is
// the growth of private bytes during the run, models_mb the private bytes of the inputs loaded
// before it. The sampling thread runs only here, never while time is measured.
enum class MemoryRun { Operation, Floor };
Measurement MeasureMemory(const Inputs& inputs, const std::string& operation, int size,
                          MemoryRun which);

} // namespace kvbench
