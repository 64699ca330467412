#include "recording/script_item_list.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kv {

namespace {

constexpr std::size_t kBlockSize = 256 * 1024;

} // namespace

ScriptItemList::ScriptItemList(std::initializer_list<std::string_view> items) {
    for (const std::string_view item : items)
        push_back(item);
}

ScriptItemList::ScriptItemList(ScriptItemList&& other) noexcept
    : items_(std::move(other.items_)), blocks_(std::move(other.blocks_)),
      free_(std::exchange(other.free_, nullptr)), room_(std::exchange(other.room_, 0)) {
    other.items_.clear();
    other.blocks_.clear();
}

ScriptItemList& ScriptItemList::operator=(ScriptItemList&& other) noexcept {
    if (this != &other) {
        items_ = std::move(other.items_);
        blocks_ = std::move(other.blocks_);
        free_ = std::exchange(other.free_, nullptr);
        room_ = std::exchange(other.room_, 0);
        other.items_.clear();
        other.blocks_.clear();
    }
    return *this;
}

void ScriptItemList::push_back(std::string_view item) {
    const std::size_t stored = item.size() + kLineEnd.size();
    if (stored > room_) {
        // A new block; an item longer than a block gets one of its own size.
        const std::size_t size = std::max(kBlockSize, stored);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        free_ = blocks_.back().get();
        room_ = size;
    }
    std::memcpy(free_, item.data(), item.size());
    free_[item.size()] = kLineEnd[0];
    free_[item.size() + 1] = kLineEnd[1];
    items_.emplace_back(free_, item.size());
    free_ += stored;
    room_ -= stored;
}

} // namespace kv
