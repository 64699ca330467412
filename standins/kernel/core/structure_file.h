// The structure file: a versioned, human-readable UTF-8 JSON text that keeps everything of a
// structure exactly (docs/structure-file.md describes it). Reading never trusts the text: a
// malformed file fails with a KernelError of kind BadFile whose message names the place (a
// JSON pointer, or line and column for text that is not JSON).
#pragma once

#include "core/structure.h"

#include <string>
#include <string_view>
#include <vector>

namespace zk {

inline constexpr std::string_view kStructureFormat = "zkernel-structure";
inline constexpr int kStructureVersion = 1;

std::string WriteStructureFile(const Structure& structure);
Structure ReadStructureFile(std::string_view text);

// The event groups of a structure file, and the file with one event group put in place of the
// group of that name (or appended); everything else of the file is kept as it is.
std::vector<EventGroup> ReadEventGroups(std::string_view text);
std::string ReplaceEventGroup(std::string_view text, const EventGroup& group);

} // namespace zk
