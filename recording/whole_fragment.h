// A fragment is written whole or not at all: a generator that fails takes back the items it had
// appended, so the scenario ends at the last whole fragment and always compiles (a half
// fragment may open an `if` that nothing closes). The lines of whole fragments written before
// stay. Pure: no Windows header.
#pragma once

#include "recording/recording_state.h"

#include <utility>

namespace kv {

// Runs the generator; when it fails, the open recording's buffer is cut back to where it was
// before the failure goes on.
template <class Generator> decltype(auto) AsWholeFragment(Generator&& generator) {
    const ScriptItemList::Position before =
        ScriptBuffer ? ScriptBuffer->End() : ScriptItemList::Position{};
    try {
        return std::forward<Generator>(generator)();
    } catch (...) {
        if (ScriptBuffer)
            ScriptBuffer->TruncateTo(before);
        throw;
    }
}

} // namespace kv
