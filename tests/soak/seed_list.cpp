#include "seed_list.h"

#include "soak_shapes.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace kvtest {
namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::uint32_t SeedNumber(const std::string& field) {
    const bool digits =
        !field.empty() && field.size() <= 10 &&
        std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || std::stoull(field) > UINT32_MAX)
        throw std::invalid_argument("the seed " + Quoted(field) +
                                    " is not a number from 0 to 4294967295");
    return static_cast<std::uint32_t>(std::stoull(field));
}

int Percent(const std::string& field) {
    const bool digits =
        !field.empty() && field.size() <= 3 &&
        std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || std::stoi(field) < 1 || std::stoi(field) > 100)
        throw std::invalid_argument("the percent " + Quoted(field) +
                                    " is not a number from 1 to 100");
    return std::stoi(field);
}

// The seed of one line's fields (comment taken off, at least one field).
SoakSeed SeedOf(const std::vector<std::string>& fields) {
    SoakSeed seed;
    std::size_t expected = 0;
    if (fields[0] == "fidelity") {
        seed.check = SoakCheck::Fidelity;
        expected = 3;
    } else if (fields[0] == "convergence") {
        seed.check = SoakCheck::Convergence;
        expected = 4;
    } else {
        throw std::invalid_argument("the check " + Quoted(fields[0]) +
                                    " is neither fidelity nor convergence");
    }
    if (fields.size() != expected)
        throw std::invalid_argument(fields[0] + " takes " + std::to_string(expected - 1) +
                                    " fields after it, not " + std::to_string(fields.size() - 1));
    seed.seed = SeedNumber(fields[1]);
    seed.shape = fields[2];
    if (!SoakShape(seed.shape, seed.seed))
        throw std::invalid_argument("no soak shape is named " + Quoted(seed.shape));
    if (seed.check == SoakCheck::Convergence)
        seed.percent = Percent(fields[3]);
    return seed;
}

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw SeedListError("the seed list " + path + " cannot be read");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The seeds of a list's text; `where` names the list in a message ("" or "PATH, ").
std::vector<SoakSeed> SeedsOf(const std::string& text, const std::string& where) {
    std::vector<SoakSeed> seeds;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::vector<std::string> fields;
        for (std::string word; words >> word;)
            fields.push_back(word);
        if (fields.empty())
            continue;
        try {
            seeds.push_back(SeedOf(fields));
        } catch (const std::invalid_argument& error) {
            throw SeedListError(where + "line " + std::to_string(number) + ": " + error.what());
        }
    }
    return seeds;
}

} // namespace

const char* CheckName(SoakCheck check) {
    return check == SoakCheck::Fidelity ? "fidelity" : "convergence";
}

std::vector<SoakSeed> ParseSeedList(const std::string& text) {
    return SeedsOf(text, "");
}

std::vector<SoakSeed> ReadSeedList(const std::string& path) {
    return SeedsOf(FileText(path), path + ", ");
}

std::string SeedLine(const SoakSeed& seed) {
    std::string line =
        std::string(CheckName(seed.check)) + " " + std::to_string(seed.seed) + " " + seed.shape;
    if (seed.check == SoakCheck::Convergence)
        line += " " + std::to_string(seed.percent);
    return line;
}

bool AppendSeed(const std::string& path, const SoakSeed& seed, const std::string& comment) {
    std::string text;
    if (std::ifstream(path, std::ios::binary))
        text = FileText(path);
    const std::vector<SoakSeed> listed = SeedsOf(text, path + ", ");
    if (std::find(listed.begin(), listed.end(), seed) != listed.end())
        return false;
    std::string line;
    // A last line without its line end would otherwise run into the new one.
    if (!text.empty() && text.back() != '\n')
        line += '\n';
    line += SeedLine(seed);
    if (!comment.empty()) {
        // The comment stays on the seed's line.
        std::string flat = comment;
        std::replace(flat.begin(), flat.end(), '\n', ' ');
        std::replace(flat.begin(), flat.end(), '\r', ' ');
        line += "  # " + flat;
    }
    line += '\n';
    std::ofstream file(path, std::ios::binary | std::ios::app);
    file << line;
    file.flush();
    if (!file)
        throw SeedListError("the seed list " + path + " cannot be written");
    return true;
}

} // namespace kvtest
