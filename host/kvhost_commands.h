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

// Runs the scenario on a fresh model that holds only the user groups of the structure file
// groups_from (same identifiers, names and order), prints whether the model changed and stores
// it to save_path.
void ReplayScenario(const std::string& scenario, const std::string& groups_from,
                    const std::string& save_path);

// Compares two structure files in everything a recording carries and prints the differences.
// Answers the exit code: 0 equal, 1 different, 2 a file could not be read.
int CompareStructures(const std::string& expected_path, const std::string& actual_path);

// Writes the structure's HTML page.
void ExportHtml(const std::string& model_path, const std::string& page);

// diff CURRENT TARGET [-o SCENARIO] [--summary | --json | --apply [--allow-removals]
// [--no-backup]]: writes the difference scenario from CURRENT to TARGET, reports what it would
// change, or applies it verified. Answers the exit code (docs/kvhost.md).
int WriteDifference(const std::vector<std::string>& arguments);

// Imports the user's work into the server structure ("import --distr FILE --user NAME
// [--mark]") and prints the report's path. False, with the problem, for arguments that cannot be
// carried out (nothing was done).
bool ImportUserWork(const std::vector<std::string>& args, std::string& problem);

} // namespace kvhost
