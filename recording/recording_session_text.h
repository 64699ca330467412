// The bytes of a scenario file, built from the recording's items. Pure: no Windows header.
#pragma once

#include "recording/recording_state.h"

#include <string>

namespace kv {

// Every item followed by CR LF, the last one included. The items are already 8-bit text in the
// ANSI code page and are copied byte for byte: no conversion, no byte-order mark.
std::string ScenarioFileText(const ScriptItems& items);

} // namespace kv
