// The difference between the host's current structure and a target structure, written into the
// open recording as the scenario that turns the current structure into the target.
#pragma once

#include <windows.h>

#include <zkernel.h>

namespace kv {

// Appends the eleven sections, each framed by its comment lines, to the open recording. Sets
// DifferenceMode once both class vectors, their filters and the target's security are in hand.
// A failing kernel read raises an error; the items already appended stay.
void WriteStructureDifference(IZModel* current, IZModel* target);

} // namespace kv
