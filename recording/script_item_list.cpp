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

ScriptItemList::ScriptItemList(std::unique_ptr<SpillStore> store, std::size_t threshold)
    : store_(std::move(store)), threshold_(threshold) {}

ScriptItemList::ScriptItemList(ScriptItemList&& other)
    : items_(std::move(other.items_)), blocks_(std::move(other.blocks_)),
      free_(std::exchange(other.free_, nullptr)), room_(std::exchange(other.room_, 0)),
      memoryBytes_(std::exchange(other.memoryBytes_, 0)), store_(std::move(other.store_)),
      threshold_(other.threshold_), spilledItems_(std::exchange(other.spilledItems_, 0)),
      spilledBytes_(std::exchange(other.spilledBytes_, 0)),
      storeTorn_(std::exchange(other.storeTorn_, false)) {
    other.items_.clear();
    other.blocks_.clear();
}

ScriptItemList& ScriptItemList::operator=(ScriptItemList&& other) noexcept {
    if (this != &other) {
        items_ = std::move(other.items_);
        blocks_ = std::move(other.blocks_);
        free_ = std::exchange(other.free_, nullptr);
        room_ = std::exchange(other.room_, 0);
        memoryBytes_ = std::exchange(other.memoryBytes_, 0);
        store_ = std::move(other.store_);
        threshold_ = other.threshold_;
        spilledItems_ = std::exchange(other.spilledItems_, 0);
        spilledBytes_ = std::exchange(other.spilledBytes_, 0);
        storeTorn_ = std::exchange(other.storeTorn_, false);
        other.items_.clear();
        other.blocks_.clear();
    }
    return *this;
}

void ScriptItemList::push_back(std::string_view item) {
    AppendInMemory(item);
    if (!store_ || memoryBytes_ <= threshold_)
        return;
    try {
        MoveToStore();
    } catch (...) {
        TruncateInMemory(items_.size() - 1);
        throw;
    }
}

void ScriptItemList::TruncateTo(Position position) {
    if (position.items >= size())
        return;
    if (position.items >= spilledItems_) {
        TruncateInMemory(position.items - spilledItems_);
        return;
    }
    TruncateInMemory(0);
    spilledItems_ = position.items;
    spilledBytes_ = position.bytes;
    storeTorn_ = true;
    CutStoreToWholeItems();
}

void ScriptItemList::Flush() {
    if (Spilled())
        MoveToStore();
}

void ScriptItemList::AppendInMemory(std::string_view item) {
    const std::size_t stored = item.size() + kLineEnd.size();
    if (stored > room_) {
        // A new block; an item longer than a block gets one of its own size.
        const std::size_t size = std::max(kBlockSize, stored);
        blocks_.push_back({std::make_unique_for_overwrite<char[]>(size), size, 0});
        free_ = blocks_.back().bytes.get();
        room_ = size;
    }
    std::memcpy(free_, item.data(), item.size());
    free_[item.size()] = kLineEnd[0];
    free_[item.size() + 1] = kLineEnd[1];
    items_.emplace_back(free_, item.size());
    free_ += stored;
    room_ -= stored;
    blocks_.back().used += stored;
    memoryBytes_ += stored;
}

void ScriptItemList::TruncateInMemory(std::size_t count) {
    if (count >= items_.size())
        return;
    items_.resize(count);
    if (items_.empty()) {
        blocks_.clear();
        free_ = nullptr;
        room_ = 0;
        memoryBytes_ = 0;
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
    block.used = static_cast<std::size_t>(free_ - block.bytes.get());
    room_ = block.size - block.used;
    memoryBytes_ = 0;
    for (const Block& kept : blocks_)
        memoryBytes_ += kept.used;
}

void ScriptItemList::MoveToStore() {
    CutStoreToWholeItems();
    storeTorn_ = true; // until every block is stored whole
    try {
        for (const Block& block : blocks_)
            if (block.used > 0)
                store_->Append({block.bytes.get(), block.used});
    } catch (...) {
        // The store ends at its last whole item again; when even the cut fails, its error goes
        // on instead and the next move cuts first.
        CutStoreToWholeItems();
        throw;
    }
    storeTorn_ = false;
    spilledItems_ += items_.size();
    spilledBytes_ += memoryBytes_;
    items_.clear();
    memoryBytes_ = 0;
    // The first block serves the next items; the others are freed.
    if (!blocks_.empty()) {
        blocks_.erase(blocks_.begin() + 1, blocks_.end());
        Block& first = blocks_.front();
        first.used = 0;
        free_ = first.bytes.get();
        room_ = first.size;
    }
}

void ScriptItemList::CutStoreToWholeItems() {
    if (!storeTorn_)
        return;
    store_->Truncate(spilledBytes_);
    storeTorn_ = false;
}

} // namespace kv
