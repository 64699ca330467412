// A model's whole structure recorded as a scenario, and a scenario run on a model, through
// korvalith.dll's exports called exactly as the configurator calls them. kvhost's commands and
// the tests that record and replay structures share these, so both record in the same order.
#pragma once

#include "kvhost_support.h"

#include <string>

namespace kvhost {

// scriptStart; scriptClass for every class, base classes before the classes derived from them
// (empty name, attribute rights off, links on, filters off, update only off); scriptFilter for
// every filter (remove only off, new filter off); scriptModule for every module; scriptSecurity
// for every group; scriptEnd with the scenario path (ANSI). Raises a HostError when an export
// fails, with the error information it left.
void RecordWholeStructure(IZModel* model, const std::string& scenario);

// Runs the scenario file (ANSI path) on the model with scriptExecute and a hidden owner window;
// answers whether the model changed. A scenario that fails raises a HostError with the runner's
// message.
bool ExecuteScenario(IZModel* model, const std::string& scenario);

// Raises a HostError when the scenario file cannot be written: the library would otherwise ask
// the user to retry the write for ever, which a command line cannot answer.
void RequireWritable(const std::string& path);

} // namespace kvhost
