// The seed list as the soak run writes it and the tests read it, and the shapes of its seeds.
#include "seed_list.h"
#include "soak_shapes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

namespace kvtest {
namespace {

std::string Shown(const std::vector<SoakSeed>& seeds) {
    std::string text;
    for (const SoakSeed& seed : seeds)
        text += "\n  " + SeedLine(seed);
    return text.empty() ? " (none)" : text;
}

std::string Text(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A fresh file name in the test's temporary folder.
std::string TemporaryList(const char* name) {
    const std::string path = testing::TempDir() + name;
    std::remove(path.c_str());
    return path;
}

TEST(SeedList, ReadsSeedsAndPassesOverComments) {
    const SoakSeed fidelity{SoakCheck::Fidelity, 7, "small", 0};
    const SoakSeed convergence{SoakCheck::Convergence, 4294967295u, "varied", 100};
    const SoakSeed bare{SoakCheck::Convergence, 0, "bare", 1};
    struct Case {
        const char* what;
        const char* text;
        std::vector<SoakSeed> seeds;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"comments and blank lines", "# a list\n\n   \n\t# more\n", {}},
        {"one of each",
         "fidelity 7 small\nconvergence 4294967295 varied 100\n",
         {fidelity, convergence}},
        {"comments after the fields",
         "fidelity 7 small # 3 differences\nconvergence 0 bare 1#x",
         {fidelity, bare}},
        {"blanks, tabs and CR LF",
         "  fidelity\t7   small \r\n\r\nconvergence 0 bare 1\r\n",
         {fidelity, bare}},
        {"no line end at the end", "fidelity 7 small", {fidelity}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseSeedList(c.text), c.seeds)
            << c.what << ", got:" << Shown(ParseSeedList(c.text));
}

TEST(SeedList, RefusesALineThatIsNoSeedAndNamesIt) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"# fine\nfidelty 7 small\n", "line 2: the check \"fidelty\" is neither"},
        {"fidelity 7 large", "line 1: no soak shape is named \"large\""},
        {"fidelity 4294967296 small", "line 1: the seed \"4294967296\" is not a number"},
        {"fidelity -1 small", "the seed \"-1\" is not a number"},
        {"fidelity 12a small", "the seed \"12a\" is not a number"},
        {"fidelity 7", "fidelity takes 2 fields after it, not 1"},
        {"fidelity 7 small 30", "fidelity takes 2 fields after it, not 3"},
        {"convergence 7 small", "convergence takes 3 fields after it, not 2"},
        {"convergence 7 small 30 1", "convergence takes 3 fields after it, not 4"},
        {"convergence 7 small 0", "the percent \"0\" is not a number from 1 to 100"},
        {"convergence 7 small 101", "the percent \"101\" is not a number from 1 to 100"},
        {"convergence 7 small 5%", "the percent \"5%\" is not a number"},
    };
    for (const Case& c : cases) {
        try {
            const std::vector<SoakSeed> seeds = ParseSeedList(c.text);
            ADD_FAILURE() << c.text << ": read as" << Shown(seeds);
        } catch (const SeedListError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
                << c.text << ": " << error.what();
        }
    }
}

TEST(SeedList, AppendedSeedsReadBackAfterWhatWasThere) {
    const std::string path = TemporaryList("kv_appended_seeds.txt");
    const SoakSeed first{SoakCheck::Convergence, 12, "varied", 37};
    const SoakSeed second{SoakCheck::Fidelity, 99, "bare", 0};

    EXPECT_TRUE(AppendSeed(path, first, "2 differences\nsecond line"));
    EXPECT_EQ(ReadSeedList(path), std::vector<SoakSeed>{first});
    EXPECT_EQ(Text(path), "convergence 12 varied 37  # 2 differences second line\n");

    // A list edited by hand whose last line has no line end.
    std::ofstream(path, std::ios::binary | std::ios::app) << "# by hand";
    EXPECT_TRUE(AppendSeed(path, second, ""));
    EXPECT_FALSE(AppendSeed(path, first, "again")) << "a listed seed is not added twice";
    EXPECT_EQ(ReadSeedList(path), (std::vector<SoakSeed>{first, second}));
    EXPECT_EQ(Text(path), "convergence 12 varied 37  # 2 differences second line\n"
                          "# by hand\nfidelity 99 bare\n");
    std::remove(path.c_str());
}

TEST(SeedList, AMissingListIsAnErrorNotAnEmptyList) {
    const std::string path = TemporaryList("kv_no_such_seeds.txt");
    EXPECT_THROW(ReadSeedList(path), SeedListError);
}

// The list in the tree, as the fidelity and convergence tests read it.
TEST(SeedList, TheTreesListReads) {
    std::vector<SoakSeed> seeds;
    ASSERT_NO_THROW(seeds = ReadSeedList(KV_SOAK_SEED_LIST));
    std::printf("%zu seeds in %s\n", seeds.size(), KV_SOAK_SEED_LIST);
}

// Whole recordings of the soak's structures must run in Wine's VBScript: 8 classes at most.
TEST(SoakShapes, FreshSeedsDrawEveryShapeAndStayWithinEightClasses) {
    std::set<std::string> drawn;
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        const SoakDraw draw = DrawForSeed(seed * 2654435761u);
        drawn.insert(draw.shape);
        EXPECT_GE(draw.percent, 1) << seed;
        EXPECT_LE(draw.percent, 100) << seed;
        const zk::Structure structure = SoakStructure(seed, draw.shape);
        EXPECT_GE(structure.ClassCount(), 1u) << draw.shape << " seed " << seed;
        EXPECT_LE(structure.ClassCount(), 8u) << draw.shape << " seed " << seed;
    }
    const std::vector<std::string> names = SoakShapeNames();
    EXPECT_EQ(drawn, std::set<std::string>(names.begin(), names.end()));
}

} // namespace
} // namespace kvtest
