#include "record_replay_check.h"

#include "com/com_support.h"
#include "core/structure_file.h"
#include "model_scenarios.h"
#include "platform_value_text.h"

#include "random_structure.h"
#include "recorded_comparison.h"
#include "support/whole_files.h"

#include <algorithm>

namespace kvtest {
namespace {

const char kOriginal[] = "original.ztp";
const char kGroups[] = "groups.ztp";
const char kResult[] = "result.ztp";
const char kScenario[] = "scenario.vbs";

std::vector<std::string> Replayed(const zk::Structure& original, const std::string& folder,
                                  std::size_t& lines) {
    WriteWholeFile(folder + kOriginal, zk::WriteStructureFile(original));
    kvhost::RecordWholeStructure(kvhost::LoadModel(folder + kOriginal).Get(), folder + kScenario);
    const std::string scenario = ReadWholeFile(folder + kScenario);
    lines = static_cast<std::size_t>(std::count(scenario.begin(), scenario.end(), '\n'));
    if (lines >= kWineFunctionLines)
        return {"the scenario has " + std::to_string(lines) +
                " lines, more than Wine's VBScript takes in one function"};

    WriteWholeFile(folder + kGroups, zk::WriteStructureFile(kvgen::GroupsOnly(original)));
    auto replay = kvhost::LoadModel(folder + kGroups);
    const bool changed = kvhost::ExecuteScenario(replay.Get(), folder + kScenario);
    kvhost::Check(replay->zrSaveModel(kvhost::Text(kvhost::Widen(folder + kResult)), nullptr),
                  "storing the replayed structure");
    std::vector<std::string> differences = kvgen::RecordedComparison(
        original, zk::ReadStructureFile(ReadWholeFile(folder + kResult)), kvgen::PlatformValueText);
    if (!changed && original.ClassCount() > 0)
        differences.push_back("the replay reported an unchanged model");
    return differences;
}

} // namespace

RecordReplayOutcome RecordAndReplay(const zk::Structure& original, const std::string& folder) {
    RecordReplayOutcome outcome;
    try {
        outcome.differences = Replayed(original, folder, outcome.scenario_lines);
    } catch (const std::exception& error) {
        // The host's messages are in the ANSI code page.
        outcome.differences = {"failed: " + zk::com::Utf8(kvhost::Widen(error.what()))};
    }
    return outcome;
}

std::vector<std::string> RecordReplayFiles() {
    return {kOriginal, kGroups, kResult, kScenario};
}

} // namespace kvtest
