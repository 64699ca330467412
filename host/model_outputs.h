// What a host writes from a model through korvalith.dll's exports, called as the configurator
// calls them: the difference scenario to a structure file and the structure's HTML page.
// kvhost's diff and html commands and the benchmark share these.
#pragma once

#include "kvhost_support.h"

#include <string>

namespace kvhost {

// scriptStart on the model; scriptDifferenceFile with the target structure file; scriptEnd with
// the scenario path and no model, so the library saves instead of asking to apply. Paths in the
// ANSI code page. Raises a HostError when an export fails, with the error information it left.
void WriteDifferenceScenario(IZModel* current, const std::string& target,
                             const std::string& scenario);

// SaveAsHTMLFile: the structure's page written to the file.
void WriteStructurePage(IZModel* model, const std::string& page);

} // namespace kvhost
