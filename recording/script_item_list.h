// The items of the scenario being recorded. A whole recording of a large structure is millions
// of lines: the items are kept one after another in large blocks, so that they are neither
// millions of allocations nor one block of the scenario's whole size. Each item is kept followed
// by CR LF, so that the items of a block are already the scenario file's bytes and are written
// without being copied again. Pure: no Windows header.
#pragma once

#include <cstddef>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

namespace kv {

class ScriptItemList {
public:
    using const_iterator = std::deque<std::string_view>::const_iterator;

    ScriptItemList() = default;
    explicit ScriptItemList(std::initializer_list<std::string_view> items);
    // Not noexcept: the deque left behind allocates its first block.
    ScriptItemList(ScriptItemList&& other);
    ScriptItemList& operator=(ScriptItemList&& other) noexcept;
    ScriptItemList(const ScriptItemList&) = delete;
    ScriptItemList& operator=(const ScriptItemList&) = delete;

    // Appends a copy of the text as the last item; without a text, an empty item.
    void push_back(std::string_view item);
    void emplace_back(std::string_view item = {}) { push_back(item); }
    // Takes back every item after the first `count`: their room serves the next items, and
    // blocks that held only them are freed.
    void TruncateTo(std::size_t count);

    std::size_t size() const noexcept { return items_.size(); }
    bool empty() const noexcept { return items_.empty(); }
    std::string_view operator[](std::size_t index) const { return items_[index]; }
    // Every item is followed by CR LF in its block: an item's file bytes run from its data() to
    // two bytes past its end.
    static constexpr std::string_view kLineEnd = "\r\n";
    const_iterator begin() const noexcept { return items_.begin(); }
    const_iterator end() const noexcept { return items_.end(); }

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t size;
    };
    std::deque<std::string_view> items_; // views into blocks_, which never move
    std::vector<Block> blocks_;
    char* free_ = nullptr; // the unused end of the last block
    std::size_t room_ = 0;
};

} // namespace kv
