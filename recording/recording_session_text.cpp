#include "recording/recording_session_text.h"

namespace kv {
namespace {

constexpr std::size_t kPieceInMemory = 64 * 1024;

template <class Items>
bool ForEachPiece(const Items& items, std::size_t pieceSize,
                  const std::function<bool(std::string_view)>& take) {
    std::string piece;
    piece.reserve(pieceSize);
    for (const std::string_view item : items) {
        piece += item;
        piece += "\r\n";
        if (piece.size() >= pieceSize) {
            if (!take(piece))
                return false;
            piece.clear();
        }
    }
    return piece.empty() || take(piece);
}

} // namespace

std::string ScenarioFileText(const ScriptItems& items) {
    std::size_t size = 0;
    for (const std::string_view item : items)
        size += item.size() + 2;
    std::string text;
    text.reserve(size);
    ForEachPiece(items, kPieceInMemory, [&](std::string_view piece) {
        text += piece;
        return true;
    });
    return text;
}

bool ForEachScenarioFilePiece(const ScriptItemList& items, std::size_t pieceSize,
                              const std::function<bool(std::string_view)>& take) {
    return ForEachPiece(items, pieceSize, take);
}

} // namespace kv
