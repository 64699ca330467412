// Record and replay give the structure again: a generated structure A is recorded as kvhost
// records it, the scenario runs through scriptExecute and the Script Control on a model holding
// only A's user groups, and the result is compared with A in everything a recording carries.
// Any difference is a fault of the generators, the kernel stand-in or the recording order.
#include "model_scenarios.h"
#include "platform_value_text.h"
#include "random_structure.h"
#include "recorded_comparison.h"

#include "core/structure_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

using kvgen::Shape;

// Wine 8's VBScript refuses a function body longer than about 9,990 lines, and every scenario
// runs as the body of one function: the structures stay below that.
constexpr std::size_t kWineFunctionLines = 9990;

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

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

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
        for (const char* name : {"original.ztp", "groups.ztp", "result.ztp", "scenario.vbs"})
            DeleteFileA(Path(name).c_str());
        RemoveDirectoryA(folder_.c_str());
        CoUninitialize();
    }
    std::string Path(const char* name) const { return folder_ + name; }

    // The difference lines between A and its replay; the scenario's line count in lines.
    std::vector<std::string> RecordAndReplay(const zk::Structure& original, std::size_t& lines) {
        WriteFile(Path("original.ztp"), zk::WriteStructureFile(original));
        kvhost::RecordWholeStructure(kvhost::LoadModel(Path("original.ztp")).Get(),
                                     Path("scenario.vbs"));
        const std::string scenario = ReadFile(Path("scenario.vbs"));
        lines = static_cast<std::size_t>(std::count(scenario.begin(), scenario.end(), '\n'));
        if (lines >= kWineFunctionLines)
            return {"the scenario has " + std::to_string(lines) +
                    " lines, more than Wine's VBScript takes in one function"};

        WriteFile(Path("groups.ztp"), zk::WriteStructureFile(kvgen::GroupsOnly(original)));
        auto replay = kvhost::LoadModel(Path("groups.ztp"));
        const bool changed = kvhost::ExecuteScenario(replay.Get(), Path("scenario.vbs"));
        kvhost::Check(replay->zrSaveModel(kvhost::Text(kvhost::Widen(Path("result.ztp"))), nullptr),
                      "storing the replayed structure");
        std::vector<std::string> differences =
            kvgen::RecordedComparison(original, zk::ReadStructureFile(ReadFile(Path("result.ztp"))),
                                      kvgen::PlatformValueText);
        if (!changed && original.ClassCount() > 0)
            differences.push_back("the replay reported an unchanged model");
        return differences;
    }

    std::string folder_;
};

TEST_F(RecordReplayFidelity, GeneratedStructuresComeBackAsRecorded) {
    std::size_t compared = 0;
    std::string seeds;
    for (const FidelityCase& c : kCases) {
        const zk::Structure original = kvgen::RandomStructure(c.seed, c.shape);
        std::size_t lines = 0;
        std::vector<std::string> differences;
        try {
            differences = RecordAndReplay(original, lines);
        } catch (const std::exception& error) {
            differences = {std::string("failed: ") + error.what()};
        }
        std::string shown;
        for (std::size_t i = 0; i < differences.size() && i < 40; ++i)
            shown += differences[i] + "\n";
        EXPECT_TRUE(differences.empty())
            << c.kind << " seed " << c.seed << ": " << differences.size() << " differences\n"
            << shown;
        ++compared;
        seeds += " " + std::to_string(c.seed) + " (" + c.kind + ", " +
                 std::to_string(original.ClassCount()) + " classes, " + std::to_string(lines) +
                 " scenario lines)";
    }
    std::printf("record-replay fidelity, seeds:%s\n%zu structures compared\n", seeds.c_str(),
                compared);
}

} // namespace
