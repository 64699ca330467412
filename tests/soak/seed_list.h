// The seed list (tests/soak/seeds.txt): the seeds a soak run found failing, kept in the tree so
// that the record-replay fidelity test and the difference convergence test check them again on
// every run, once mended as before. One seed a line:
//
//   fidelity SEED SHAPE
//   convergence SEED SHAPE PERCENT
//
// SHAPE is one of the soak shapes (soak_shapes.h), PERCENT the share of classes edited (1 to
// 100). "#" starts a comment, on a line of its own or after the fields; blank lines are allowed.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kvtest {

enum class SoakCheck { Fidelity, Convergence };

struct SoakSeed {
    SoakCheck check = SoakCheck::Fidelity;
    std::uint32_t seed = 0;
    std::string shape;
    int percent = 0; // convergence only

    bool operator==(const SoakSeed& other) const {
        return check == other.check && seed == other.seed && shape == other.shape &&
               percent == other.percent;
    }
};

// A line that is not a seed, or a list that cannot be read: the message names the line.
class SeedListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "fidelity" or "convergence".
const char* CheckName(SoakCheck check);

// The seeds of the list's text in their order; raises a SeedListError for the first line that
// is neither a seed nor a comment.
std::vector<SoakSeed> ParseSeedList(const std::string& text);

// The seeds of the list's file; a file that cannot be read is a SeedListError too, since a lost
// list would check nothing without a word.
std::vector<SoakSeed> ReadSeedList(const std::string& path);

// The seed's line as the list holds it, without line end or comment.
std::string SeedLine(const SoakSeed& seed);

// Adds the seed's line, with the comment after it when not empty, at the end of the file (made
// when missing). A seed the list holds already is not added again; answers whether it was added.
bool AppendSeed(const std::string& path, const SoakSeed& seed, const std::string& comment);

} // namespace kvtest
