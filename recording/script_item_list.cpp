#include "recording/script_item_list.h"

#include <algorithm>
#include <cstdint>
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

ScriptItemList::ScriptItemList(ScriptItemList&& other)
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
        blocks_.push_back({std::make_unique_for_overwrite<char[]>(size), size});
        free_ = blocks_.back().bytes.get();
        room_ = size;
    }
    std::memcpy(free_, item.data(), item.size());
    free_[item.size()] = kLineEnd[0];
    free_[item.size() + 1] = kLineEnd[1];
    items_.emplace_back(free_, item.size());
    free_ += stored;
    room_ -= stored;
}

void ScriptItemList::TruncateTo(std::size_t count) {
    if (count >= items_.size())
        return;
    items_.resize(count);
    if (items_.empty()) {
        blocks_.clear();
        free_ = nullptr;
        room_ = 0;
        return;
    }
    // The blocks after the one that holds the last item kept held only items taken back.
    const std::string_view last = items_.back();
    const auto holds = [&](const Block& block) {
        const auto begin = reinterpret_cast<std::uintptr_t>(block.bytes.get());
        const auto at = reinterpret_cast<std::uintptr_t>(last.data());
        return at >= begin && at < begin + block.size;
    };
    while (!holds(blocks_.back()))
        blocks_.pop_back();
    Block& block = blocks_.back();
    free_ = const_cast<char*>(last.data()) + last.size() + kLineEnd.size();
    room_ = block.size - static_cast<std::size_t>(free_ - block.bytes.get());
}

} // namespace kv
