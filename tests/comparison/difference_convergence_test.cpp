// DifferenceConvergence: the difference scenario from A to B, run on A, gives B in every aspect
// the difference carries, and a second difference finds nothing to do before the rights
// (convergence_check.h); for a hand-written pair, fixed seeds and the convergence seeds of the
// soak run's seed list.
#include "convergence_check.h"
#include "difference_files.h"
#include "recording/session_fixture.h"

#include "core/structure_file.h"
#include "random_edits.h"
#include "random_structure.h"
#include "seed_list.h"
#include "soak_shapes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

zk::Structure ReadFixture(const char* name) {
    std::ifstream file(FixturePath(name), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return zk::ReadStructureFile(text.str());
}

std::string Listed(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

class DifferenceConvergence : public SessionTest {
protected:
    // Converges one pair, reporting what differs; counts the pairs.
    void ExpectConverges(const std::string& name, const zk::Structure& a, const zk::Structure& b) {
        const kvtest::ConvergenceOutcome outcome = kvtest::Converge(a, b, OutputPath(""));
        ++pairs_;
        EXPECT_TRUE(outcome.differences.empty())
            << name << ": the result differs from the target:" << Listed(outcome.differences);
        EXPECT_TRUE(outcome.secondStatements.empty())
            << name << ": a second difference still writes:" << Listed(outcome.secondStatements);
        std::printf("difference convergence %s: %zu differences, %zu second statements\n",
                    name.c_str(), outcome.differences.size(), outcome.secondStatements.size());
    }

    void TearDown() override {
        std::printf("difference convergence: %d pairs\n", pairs_);
        SessionTest::TearDown();
    }

private:
    int pairs_ = 0;
};

TEST_F(DifferenceConvergence, HandWrittenPairInBothDirections) {
    const zk::Structure current = ReadFixture("current.ztp");
    const zk::Structure target = ReadFixture("target.ztp");
    ExpectConverges("current to target", current, target);
    ExpectConverges("target to current", target, current);
}

// Generated structures, each with a target made by random edits of a share of its classes.
TEST_F(DifferenceConvergence, GeneratedStructuresWithRandomEdits) {
    struct Pairs {
        const char* shape;
        kvgen::Shape structure;
        int percent;
        std::uint32_t firstSeed;
        std::uint32_t seeds;
    };
    kvgen::Shape larger;
    larger.classes = 40;
    larger.attributes_per_class = 5;
    const Pairs pairs[] = {
        {"default", kvgen::Shape{}, 30, 1, 8},
        {"default", kvgen::Shape{}, 100, 101, 2},
        {"larger", larger, 10, 201, 2},
        {"bare", kvgen::Shape::Bare(), 50, 301, 2},
    };
    for (const Pairs& p : pairs) {
        for (std::uint32_t seed = p.firstSeed; seed < p.firstSeed + p.seeds; ++seed) {
            const zk::Structure a = kvgen::RandomStructure(seed, p.structure);
            const zk::Structure b = kvgen::RandomEdits(a, seed, p.percent);
            ExpectConverges(std::string(p.shape) + " shape, seed " + std::to_string(seed) + ", " +
                                std::to_string(p.percent) + "% edited",
                            a, b);
        }
    }
}

// The seeds a soak run found failing stay checked once mended.
TEST_F(DifferenceConvergence, SoakSeedsConverge) {
    std::vector<kvtest::SoakSeed> seeds;
    ASSERT_NO_THROW(seeds = kvtest::ReadSeedList(KV_SOAK_SEED_LIST));
    for (const kvtest::SoakSeed& s : seeds) {
        if (s.check != kvtest::SoakCheck::Convergence)
            continue;
        const zk::Structure a = kvtest::SoakStructure(s.seed, s.shape);
        ExpectConverges("soak " + s.shape + " shape, seed " + std::to_string(s.seed) + ", " +
                            std::to_string(s.percent) + "% edited",
                        a, kvtest::SoakTarget(a, s.seed, s.percent));
    }
}

} // namespace
