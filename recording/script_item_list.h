// The items of the scenario being recorded. A whole recording of a large structure is millions
// of lines: the items are kept one after another in large blocks, so that they are neither
// millions of allocations nor one block of the scenario's whole size. Each item is kept followed
// by CR LF, so that the items of a block are already the scenario file's bytes and are written
// without being copied again. Past a threshold the items kept so far go to a spill store (a
// temporary file), so that a recording of any size holds a bounded amount of memory. Pure: no
// Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

namespace kv {

// Where a list's items go once they pass its threshold: bytes that grow at their end, exactly
// the scenario file's bytes.
class SpillStore {
public:
    virtual ~SpillStore() = default;
    // Appends the bytes at the end. Raises when they cannot all be stored; part of them may have
    // been stored then (the list cuts them off).
    virtual void Append(std::string_view bytes) = 0;
    // Cuts the store back to its first `size` bytes; raises when it cannot.
    virtual void Truncate(std::uint64_t size) = 0;
};

class ScriptItemList {
public:
    using const_iterator = std::deque<std::string_view>::const_iterator;

    // A place between two items, taken before a fragment starts: what cutting the list back
    // there needs, whether the items after it are in memory or in the store.
    struct Position {
        std::size_t items = 0;
        std::uint64_t bytes = 0;
    };

    // A list that keeps every item in memory.
    ScriptItemList() = default;
    explicit ScriptItemList(std::initializer_list<std::string_view> items);
    // A list that moves the items kept in memory to the store whenever they pass `threshold`
    // bytes (CR LF included).
    ScriptItemList(std::unique_ptr<SpillStore> store, std::size_t threshold);
    // Not noexcept: the deque left behind allocates its first block.
    ScriptItemList(ScriptItemList&& other);
    ScriptItemList& operator=(ScriptItemList&& other) noexcept;
    ScriptItemList(const ScriptItemList&) = delete;
    ScriptItemList& operator=(const ScriptItemList&) = delete;

    // Appends a copy of the text as the last item; without a text, an empty item. When the move
    // to the store fails, the item is not appended, the store still ends at its last whole item,
    // and the error goes on; the items appended before stay.
    void push_back(std::string_view item);
    void emplace_back(std::string_view item = {}) { push_back(item); }

    Position End() const noexcept { return {size(), spilledBytes_ + memoryBytes_}; }
    // Takes back every item after the position (one that End gave while they were appended):
    // their room serves the next items, blocks that held only them are freed, and the store is
    // cut back when they had gone there. Raises when the store cannot be cut; the list then
    // ends at the position all the same, and the next move to the store cuts it first.
    void TruncateTo(Position position);

    // Moves the items kept in memory to the store when the list has spilled, so that the store
    // holds every item. Raises, as push_back does, with every item kept.
    void Flush();
    // Items have gone to the store: the scenario's bytes are the store's followed by those of
    // the items in memory.
    bool Spilled() const noexcept { return spilledItems_ > 0 || storeTorn_; }
    SpillStore* Store() const noexcept { return store_.get(); }

    std::size_t size() const noexcept { return spilledItems_ + items_.size(); }
    bool empty() const noexcept { return size() == 0; }
    // The items kept in memory (every item of a list that has not spilled), by their index in
    // the whole list: an index below the spilled items' count is not in memory.
    std::string_view operator[](std::size_t index) const { return items_[index - spilledItems_]; }
    // Every item is followed by CR LF in its block: an item's file bytes run from its data() to
    // two bytes past its end.
    static constexpr std::string_view kLineEnd = "\r\n";
    const_iterator begin() const noexcept { return items_.begin(); }
    const_iterator end() const noexcept { return items_.end(); }

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t size;
        std::size_t used;
    };
    void AppendInMemory(std::string_view item);
    void TruncateInMemory(std::size_t count);
    void MoveToStore();
    void CutStoreToWholeItems();

    std::deque<std::string_view> items_; // views into blocks_, which never move
    std::vector<Block> blocks_;
    char* free_ = nullptr; // the unused end of the last block
    std::size_t room_ = 0;
    std::size_t memoryBytes_ = 0; // the file bytes of items_

    std::unique_ptr<SpillStore> store_;
    std::size_t threshold_ = 0;
    std::size_t spilledItems_ = 0; // the items before items_, in the store
    std::uint64_t spilledBytes_ = 0;
    // The store may hold bytes past the spilled items (a write or a cut that failed): it is cut
    // back before anything else goes there.
    bool storeTorn_ = false;
};

} // namespace kv
