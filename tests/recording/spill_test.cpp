// A recording's items past the memory threshold go to a spill store: the store and the items
// left in memory are always the scenario file's bytes, whole fragments only, whether a fragment
// is taken back or the store fails part way through a write. The store here is a string that a
// test can make fail, as a full disk does.
#include "recording/script_buffer_text.h"
#include "recording/script_item_list.h"
#include "recording/whole_fragment.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace kv;

namespace {

// What the store holds and how it fails; kept by the test, since the list owns the store.
struct StoreState {
    std::string bytes;
    std::optional<std::size_t> room; // bytes that can still be written; unlimited when absent
    int failingCuts = 0;             // cuts that fail before the next one succeeds
};

class MemoryStore : public SpillStore {
public:
    explicit MemoryStore(StoreState& state) : state_(state) {}
    void Append(std::string_view bytes) override {
        if (state_.room && bytes.size() > *state_.room) {
            // A full disk takes what fits and fails: the write is torn.
            state_.bytes += bytes.substr(0, *state_.room);
            state_.room = 0;
            throw std::runtime_error("disk full");
        }
        if (state_.room)
            *state_.room -= bytes.size();
        state_.bytes += bytes;
    }
    void Truncate(std::uint64_t size) override {
        if (state_.failingCuts > 0) {
            --state_.failingCuts;
            throw std::runtime_error("cannot cut");
        }
        state_.bytes.resize(size);
    }

private:
    StoreState& state_;
};

// The scenario's bytes as a spilled list holds them: the store's, then those in memory.
std::string HeldBytes(const StoreState& store, const ScriptItemList& items) {
    std::string held = store.bytes;
    ForEachScenarioFilePiece(items, 4096, [&](std::string_view piece) {
        held += piece;
        return true;
    });
    return held;
}

std::size_t BytesInMemory(const ScriptItemList& items) {
    std::size_t bytes = 0;
    for (const std::string_view item : items)
        bytes += item.size() + ScriptItemList::kLineEnd.size();
    return bytes;
}

// The bytes are those of the first items of the list, ending where an item ends.
bool IsWholeItems(const std::string& bytes, const std::vector<std::string>& items) {
    std::size_t length = 0;
    for (std::size_t count = 0; length < bytes.size() && count < items.size(); ++count)
        length += items[count].size() + ScriptItemList::kLineEnd.size();
    return length == bytes.size() && ScenarioFileText(items).starts_with(bytes);
}

// Items of every shape: empty, with line breaks, 8-bit, and longer than a block of the list.
std::vector<std::string> SampleItems(std::size_t count) {
    std::vector<std::string> items;
    for (std::size_t i = 0; i < count; ++i)
        items.push_back(i % 11 == 0 ? "" : "line " + std::to_string(i) + std::string(i % 37, 'a'));
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(count / 2),
                 std::string(300 * 1024, 'L'));
    items.push_back("a\r\nb \xC0\xFF");
    return items;
}

TEST(SpilledItems, AreTheScenarioBytesAndKeepMemoryUnderTheThreshold) {
    const std::vector<std::string> expected = SampleItems(20000);
    const std::size_t thresholds[] = {
        0, 1, 100, 64 * 1024, 1024 * 1024, std::numeric_limits<std::size_t>::max()};
    for (const std::size_t threshold : thresholds) {
        StoreState store;
        ScriptItemList items(std::make_unique<MemoryStore>(store), threshold);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            items.push_back(expected[i]);
            if (i % 97 == 0 || i + 1 == expected.size()) {
                ASSERT_LE(BytesInMemory(items), threshold) << "threshold " << threshold;
            }
        }
        EXPECT_EQ(items.size(), expected.size());
        EXPECT_EQ(HeldBytes(store, items), ScenarioFileText(expected)) << "threshold " << threshold;
        EXPECT_EQ(items.Spilled(), threshold < 1024 * 1024) << "threshold " << threshold;
        items.Flush();
        EXPECT_EQ(store.bytes, items.Spilled() ? ScenarioFileText(expected) : "")
            << "threshold " << threshold;
    }
}

// Fragments as the generators write them into the open recording's buffer: the items of a
// fragment, through AsWholeFragment, failing after `failAfter` items when given.
void WriteFragment(const std::vector<std::string>& fragment,
                   std::optional<std::size_t> failAfter = std::nullopt) {
    AsWholeFragment([&] {
        for (std::size_t i = 0; i < fragment.size(); ++i) {
            if (failAfter && i == *failAfter)
                throw std::runtime_error("kernel call failed");
            ScriptBuffer->push_back(fragment[i]);
        }
    });
}

std::vector<std::string> Fragment(int number, std::size_t items) {
    std::vector<std::string> fragment;
    for (std::size_t i = 0; i < items; ++i)
        fragment.push_back("fragment " + std::to_string(number) + " item " + std::to_string(i));
    fragment.emplace_back();
    return fragment;
}

class SpilledRecording : public testing::Test {
protected:
    // A fresh recording: an empty store and nothing written yet.
    void Open(std::size_t threshold) {
        store_ = {};
        expected_.clear();
        ScriptBuffer.emplace(std::make_unique<MemoryStore>(store_), threshold);
    }
    void TearDown() override { ScriptBuffer.reset(); }

    // Writes a whole fragment and keeps its items as expected.
    void WriteWhole(int number, std::size_t items) {
        const std::vector<std::string> fragment = Fragment(number, items);
        WriteFragment(fragment);
        expected_.insert(expected_.end(), fragment.begin(), fragment.end());
    }

    StoreState store_;
    std::vector<std::string> expected_;
};

// A fragment that fails is taken back whole, from memory or from the store, wherever its items
// went; what follows it comes right after the fragment before.
TEST_F(SpilledRecording, FragmentTakenBackLeavesExactlyTheWholeFragments) {
    struct Case {
        const char* what;
        std::size_t threshold;
        std::size_t failingItems; // items of the failing fragment before its failure
    };
    const Case cases[] = {
        {"every item spilled, taken back from the store", 1, 40},
        {"the fragment crosses into the store", 2000, 200},
        {"the fragment stays in memory after a spill", 2000, 3},
        {"nothing spilled", 1 << 20, 200},
        {"failing before its first item", 1, 0},
    };
    for (const Case& c : cases) {
        Open(c.threshold);
        for (int number = 0; number < 30; ++number)
            WriteWhole(number, 5);
        EXPECT_THROW(WriteFragment(Fragment(99, c.failingItems + 5), c.failingItems),
                     std::runtime_error)
            << c.what;
        EXPECT_EQ(ScriptBuffer->size(), expected_.size()) << c.what;
        EXPECT_EQ(HeldBytes(store_, *ScriptBuffer), ScenarioFileText(expected_)) << c.what;
        WriteWhole(100, 5);
        ScriptBuffer->Flush();
        EXPECT_EQ(HeldBytes(store_, *ScriptBuffer), ScenarioFileText(expected_)) << c.what;
    }
}

// A write that fails part way (a full disk) leaves the store at its last whole item and the
// fragment taken back; once there is room again, the recording goes on and holds every whole
// fragment. A cut that fails as well is made before the next write.
TEST_F(SpilledRecording, WriteFailureCutsTheTornItemAndTheRecordingGoesOn) {
    struct Case {
        const char* what;
        std::size_t threshold;
        std::size_t room; // store bytes left when the failing fragment starts
        int failingCuts;
    };
    const Case cases[] = {
        {"torn within an item", 1, 30, 0},
        {"torn within a batch of items", 600, 400, 0},
        {"nothing written", 1, 0, 0},
        // The write's cut and the fragment's cut fail: the next write cuts first.
        {"the cuts fail too", 1, 30, 2},
    };
    for (const Case& c : cases) {
        Open(c.threshold);
        for (int number = 0; number < 20; ++number)
            WriteWhole(number, 4);
        ScriptBuffer->Flush();
        const std::string whole = store_.bytes;
        store_.room = c.room;
        store_.failingCuts = c.failingCuts;
        EXPECT_THROW(WriteFragment(Fragment(50, 40)), std::runtime_error) << c.what;
        if (c.failingCuts == 0) {
            EXPECT_EQ(store_.bytes.substr(0, whole.size()), whole) << c.what;
        }
        EXPECT_EQ(ScriptBuffer->size(), expected_.size()) << c.what;
        if (c.failingCuts == 0) {
            EXPECT_TRUE(IsWholeItems(store_.bytes, expected_))
                << c.what << ": the store ends at a whole item";
        }

        // Still no room: the next fragment fails as well and leaves the same whole fragments.
        EXPECT_THROW(WriteFragment(Fragment(51, 40)), std::runtime_error) << c.what;
        EXPECT_EQ(ScriptBuffer->size(), expected_.size()) << c.what;

        store_.room.reset();
        WriteWhole(60, 4);
        ScriptBuffer->Flush();
        EXPECT_EQ(store_.bytes, ScenarioFileText(expected_)) << c.what;
    }
}

// A move to the store that fails drops only the item being appended: the items before it stay
// in memory until the store takes them. A flush that fails keeps every item.
TEST(SpilledItems, AFailedMoveDropsOnlyTheItemBeingAppended) {
    StoreState store;
    ScriptItemList items(std::make_unique<MemoryStore>(store), 10);
    items.push_back("header"); // 8 bytes: kept in memory
    store.room = 3;
    EXPECT_THROW(items.push_back("first"), std::runtime_error);
    EXPECT_EQ(store.bytes, "");
    EXPECT_EQ(items.size(), 1u);
    store.room.reset();
    items.push_back("second");
    EXPECT_EQ(store.bytes, "header\r\nsecond\r\n");

    items.push_back("third");
    store.room = 0;
    EXPECT_THROW(items.Flush(), std::runtime_error);
    EXPECT_EQ(items.size(), 3u);
    store.room.reset();
    items.Flush();
    EXPECT_EQ(store.bytes, "header\r\nsecond\r\nthird\r\n");
}

} // namespace
