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

// The measurement; an operation that fails gives a measurement that says so.
Measurement RunOperation(const Inputs& inputs, const std::string& operation, int size, int repeat);

} // namespace kvbench
