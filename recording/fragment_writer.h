// What every fragment generator does with the scenario being recorded: test that a recording is
// open, append formatted templates and empty items, and place the kernel's texts in them
// (platform/scenario_text.h).
#pragma once

#include "platform/scenario_text.h"
#include "recording/recording_state.h"
#include "text/literal_encoding.h"
#include "text/script_format.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace kv {

inline bool RecordingOpen() {
    return RecordingActive && ScriptBuffer;
}

// One formatted template is one item of the scenario, filled in a text kept for the next one
// (the recording is only ever written on the host's user-interface thread).
inline void Write(const ScriptTemplate& scriptTemplate,
                  std::initializer_list<FormatValue> values = {}) {
    static std::string item;
    item.clear();
    AppendFormat(item, scriptTemplate, values);
    ScriptBuffer->push_back(item);
}

// An empty item: an empty line in the file.
inline void WriteEmptyItem() {
    ScriptBuffer->emplace_back();
}

} // namespace kv
