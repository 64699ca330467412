// The commands of kvhost.exe. Each raises a HostError when the operation fails; paths and
// names are in the ANSI code page, as the arguments arrive.
#pragma once

#include <string>

namespace kvhost {

// Loads the structure file, runs the scenario through scriptExecute, prints whether the model
// changed and stores the model to save_path (or back to its own file when that is empty).
void RunScenario(const std::string& scenario, const std::string& model_path,
                 const std::string& save_path);

// Records the whole structure of the file as a scenario.
void RecordStructure(const std::string& model_path, const std::string& scenario);

// Writes the structure's HTML page.
void ExportHtml(const std::string& model_path, const std::string& page);

} // namespace kvhost
