// One structure recorded and replayed, as the record-replay fidelity test and the soak run check
// it: the structure A is recorded whole as kvhost records it, the scenario runs through
// scriptExecute and the Script Control on a model holding only A's user groups, and the result is
// compared with A in everything a recording carries. Any difference is a fault of the generators,
// the kernel stand-in or the recording order.
//
// Needs COM on the calling thread, the kernel stand-in registered and korvalith.dll beside the
// program.
#pragma once

#include "core/structure.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kvtest {

// Wine 8's VBScript refuses a function body longer than about 9,990 lines, and every scenario
// runs as the body of one function.
constexpr std::size_t kWineFunctionLines = 9990;

struct RecordReplayOutcome {
    // The differences between A and its replay, in UTF-8; a step that failed is one line
    // "failed: ...".
    std::vector<std::string> differences;
    std::size_t scenario_lines = 0;
};

// The files are written into `folder` (ANSI path with a trailing backslash, existing) and left
// there: RecordReplayFiles names them.
RecordReplayOutcome RecordAndReplay(const zk::Structure& original, const std::string& folder);
std::vector<std::string> RecordReplayFiles();

} // namespace kvtest
