#include "recording/script_buffer_text.h"

namespace kv {

std::string ScenarioFileText(const ScriptItems& items) {
    std::size_t size = 0;
    for (const std::string_view item : items)
        size += item.size() + ScriptItemList::kLineEnd.size();
    std::string text;
    text.reserve(size);
    for (const std::string_view item : items) {
        text += item;
        text += ScriptItemList::kLineEnd;
    }
    return text;
}

bool ForEachScenarioFilePiece(const ScriptItemList& items, std::size_t pieceSize,
                              const std::function<bool(std::string_view)>& take) {
    // Items that follow each other in one block are handed over as one view of that block.
    const char* start = nullptr;
    const char* end = nullptr;
    const auto run = [&] { return std::string_view(start, static_cast<std::size_t>(end - start)); };
    for (const std::string_view item : items) {
        if (item.data() != end) {
            if (start != end && !take(run()))
                return false;
            start = item.data();
        }
        end = item.data() + item.size() + ScriptItemList::kLineEnd.size();
        if (static_cast<std::size_t>(end - start) >= pieceSize) {
            if (!take(run()))
                return false;
            start = end;
        }
    }
    return start == end || take(run());
}

} // namespace kv
