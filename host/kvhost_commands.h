// The commands of kvhost.exe. Each raises a HostError when the operation fails; paths and
// names are in the ANSI code page, as the arguments arrive.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace kvhost {

// A command line that a command cannot carry out as written: main prints it with the usage and
// exits with the usage error code.
class UsageProblem : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Loads the structure file, runs the scenario through scriptExecute, prints whether the model
// changed and stores the model to save_path (or back to its own file when that is empty).
void RunScenario(const std::string& scenario, const std::string& model_path,
                 const std::string& save_path);

// Records the whole structure of the file as a scenario.
void RecordStructure(const std::string& model_path, const std::string& scenario);

// Writes the structure's HTML page.
void ExportHtml(const std::string& model_path, const std::string& page);

// diff CURRENT TARGET -o SCENARIO [--apply]: writes the difference scenario from CURRENT to
// TARGET; with --apply runs it on CURRENT and stores the result there.
void WriteDifference(const std::vector<std::string>& arguments);

// Raises a HostError when the scenario file cannot be written: the library would otherwise ask
// the user to retry the write, which a command line cannot answer.
void RequireWritable(const std::string& path);

} // namespace kvhost
