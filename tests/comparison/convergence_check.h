// One pair's convergence, as the difference convergence test and the soak run check it: for a
// structure A and a target B, the scenario of differences from A to B is written through
// korvalith.dll's exports (inside a recording, as a host writes it) and run on A with
// scriptExecute; the result must equal B in every aspect the difference carries, and a second
// difference from the result to B must have no statement in sections 1 to 10.
//
// Needs COM on the calling thread, the kernel stand-in registered and korvalith.dll beside the
// program.
#pragma once

#include "core/structure.h"

#include <string>
#include <vector>

namespace kvtest {

// What one pair gave, in UTF-8.
struct ConvergenceOutcome {
    // The result against B; a step that failed is one line "failed: ...".
    std::vector<std::string> differences;
    std::vector<std::string> secondStatements; // statements of the second difference, sections 1-10
};

// The files are written into `folder` (ANSI path with a trailing backslash, existing) and left
// there: a.ztp, b.ztp, difference.vbs, result.ztp, second.vbs.
ConvergenceOutcome Converge(const zk::Structure& a, const zk::Structure& b,
                            const std::string& folder);

// The lines between the begin and end line of sections 1 to 10 of a difference scenario, as the
// scenario holds them (ANSI code page).
std::vector<std::string> StatementsBeforeRights(const std::string& scenario);

} // namespace kvtest
