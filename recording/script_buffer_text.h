// The script buffer's items as the bytes of a scenario file. Pure: no Windows header.
#pragma once

#include "recording/recording_state.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kv {

// Every item followed by CR LF, the last one included. The items are already 8-bit text in the
// ANSI code page and are copied byte for byte: no conversion, no byte-order mark.
std::string ScenarioFileText(const ScriptItems& items);

// The bytes of the items kept in memory (all of them, unless the list has spilled) handed to
// `take` in consecutive pieces: a piece ends after the item that brings
// it to `pieceSize` bytes, or where a block of the list ends (a long item makes a longer piece).
// The pieces are views of the list's blocks, so a large scenario is never copied again. Stops
// at the first piece `take` refuses; answers whether every piece was taken.
bool ForEachScenarioFilePiece(const ScriptItemList& items, std::size_t pieceSize,
                              const std::function<bool(std::string_view)>& take);

} // namespace kv
