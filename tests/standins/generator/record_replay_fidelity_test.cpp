// Record and replay give the structure again (record_replay_check.h), for a table of fixed seeds
// and for the fidelity seeds of the soak run's seed list.
#include "random_structure.h"
#include "record_replay_check.h"
#include "seed_list.h"
#include "soak_shapes.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using kvgen::Shape;

struct FidelityCase {
    const char* kind;
    std::uint32_t seed;
    Shape shape;
};

Shape Larger() {
    Shape shape;
    shape.classes = 20;
    shape.attributes_per_class = 5;
    shape.filters = 4;
    shape.modules = 4;
    return shape;
}

const FidelityCase kCases[] = {
    {"default", 1, Shape{}},  {"default", 2, Shape{}},     {"default", 3, Shape{}},
    {"default", 4, Shape{}},  {"default", 5, Shape{}},     {"default", 6, Shape{}},
    {"larger", 11, Larger()}, {"bare", 21, Shape::Bare()},
};

class RecordReplayFidelity : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "kv_fidelity_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::string& name : kvtest::RecordReplayFiles())
            DeleteFileA((folder_ + name).c_str());
        RemoveDirectoryA(folder_.c_str());
        CoUninitialize();
        std::printf("record-replay fidelity, seeds:%s\n%zu structures compared\n", seeds_.c_str(),
                    compared_);
    }

    // Records and replays one structure, reporting what differs.
    void ExpectComesBack(const std::string& kind, std::uint32_t seed,
                         const zk::Structure& original) {
        const kvtest::RecordReplayOutcome outcome = kvtest::RecordAndReplay(original, folder_);
        std::string shown;
        for (std::size_t i = 0; i < outcome.differences.size() && i < 40; ++i)
            shown += outcome.differences[i] + "\n";
        EXPECT_TRUE(outcome.differences.empty())
            << kind << " seed " << seed << ": " << outcome.differences.size() << " differences\n"
            << shown;
        ++compared_;
        seeds_ += " " + std::to_string(seed) + " (" + kind + ", " +
                  std::to_string(original.ClassCount()) + " classes, " +
                  std::to_string(outcome.scenario_lines) + " scenario lines)";
    }

private:
    std::string folder_;
    std::string seeds_;
    std::size_t compared_ = 0;
};

TEST_F(RecordReplayFidelity, GeneratedStructuresComeBackAsRecorded) {
    for (const FidelityCase& c : kCases)
        ExpectComesBack(c.kind, c.seed, kvgen::RandomStructure(c.seed, c.shape));
}

// The seeds a soak run found failing stay checked once mended.
TEST_F(RecordReplayFidelity, SoakSeedsComeBackAsRecorded) {
    std::vector<kvtest::SoakSeed> seeds;
    ASSERT_NO_THROW(seeds = kvtest::ReadSeedList(KV_SOAK_SEED_LIST));
    for (const kvtest::SoakSeed& s : seeds) {
        if (s.check == kvtest::SoakCheck::Fidelity)
            ExpectComesBack("soak " + s.shape, s.seed, kvtest::SoakStructure(s.seed, s.shape));
    }
}

} // namespace
