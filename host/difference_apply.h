// kvhost diff --apply: the difference scenario run on a copy of the current structure, checked
// against the target by a second difference, and only then stored in the current file's place.
#pragma once

#include <string>

namespace kvhost {

struct DiffArguments {
    std::string current;
    std::string target;
    std::string scenario; // empty: none asked for
    bool summary = false;
    bool json = false;
    bool apply = false;
    bool allow_removals = false;
    bool backup = true;
};

// Writes the scenario, refuses removals without consent, runs the scenario on a copy, verifies
// and replaces the current file. Answers the exit code: 0 stored, 1 refused or failed (the
// current file byte for byte as it was, no temporary file left).
int ApplyDifference(const DiffArguments& args);

} // namespace kvhost
