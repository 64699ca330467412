// The benchmark's verdict on its targets and the line a child process reports its measurement in.
#include "bench_table.h"

#include <gtest/gtest.h>

namespace kvbench {
namespace {

Measurement Timed(const char* operation, int size, double time, double floor = 1) {
    Measurement m;
    m.operation = operation;
    m.size = size;
    m.time = time;
    m.floor = floor;
    return m;
}

Measurement Scenario(int size, double time, long long statements) {
    Measurement m = Timed("replay", size, time);
    m.statements = statements;
    return m;
}

struct TargetCase {
    const char* what;
    std::vector<Measurement> results;
    bool holds;
};

TEST(BenchTargets, RatiosAndGrowthAreJudgedAsTheTargetsSay) {
    Measurement failed = Timed("html", 500, 0);
    failed.failed = true;
    failed.note = "the export failed";
    Measurement refused = Timed("replay", 200, 0);
    refused.refused = true;
    const TargetCase cases[] = {
        {"recording within 1.5 times", {Timed("record", 500, 1.5)}, true},
        {"recording past 1.5 times", {Timed("record", 500, 1.51)}, false},
        {"HTML past 1.5 times", {Timed("html", 500, 1.6)}, false},
        {"difference within 2 times", {Timed("difference", 500, 2.0)}, true},
        {"difference past 2 times", {Timed("difference", 500, 2.1)}, false},
        {"import and replay have no ratio target",
         {Timed("import", 500, 9), Timed("replay", 1, 30)},
         true},
        {"doubling at 2.3 times", {Timed("import", 500, 1), Timed("import", 1000, 2.3)}, true},
        {"doubling past 2.3 times", {Timed("import", 1000, 2.31), Timed("import", 500, 1)}, false},
        {"four times the size in proportion",
         {Timed("import", 100, 1), Timed("import", 400, 5.2)},
         true},
        {"a failed operation", {failed}, false},
        {"a replay grows with its statements",
         {Scenario(1, 0.01, 1900), Scenario(2, 0.025, 4300)},
         true},
        {"a replay grows past its statements",
         {Scenario(1, 0.01, 1900), Scenario(2, 0.03, 3800)},
         false},
        {"a refused replay is no time to grow from",
         {Timed("replay", 100, 1), refused, Timed("replay", 400, 9)},
         false},
        {"a refused replay alone", {Timed("replay", 100, 1), refused}, true},
    };
    for (const TargetCase& c : cases) {
        const Verdict verdict = CheckTargets(c.results);
        EXPECT_EQ(verdict.holds, c.holds) << c.what;
        EXPECT_EQ(verdict.misses.empty(), c.holds) << c.what;
    }
}

TEST(BenchTargets, AMissNamesTheOperationAndSize) {
    const Verdict verdict = CheckTargets({Timed("html", 2000, 3)});
    ASSERT_EQ(verdict.misses.size(), 1u);
    EXPECT_NE(verdict.misses[0].find("html at 2000 classes"), std::string::npos)
        << verdict.misses[0];
}

TEST(BenchResultLine, CarriesEveryFieldAndANoteWithBlanks) {
    Measurement m = Timed("replay", 400, 0.125, 0.0625);
    m.wall = 0.5;
    m.model_mb = 40.25;
    m.peak_mb = 80.5;
    m.statements = 12345;
    m.lines = 23456;
    m.bytes = 987654;
    m.refused = true;
    m.note = "syntax error\r\nat line 9991";
    const std::optional<Measurement> back = ParseResultLine(ResultLine(m));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->operation, "replay");
    EXPECT_EQ(back->size, 400);
    EXPECT_EQ(back->time, 0.125);
    EXPECT_EQ(back->floor, 0.0625);
    EXPECT_EQ(back->wall, 0.5);
    EXPECT_EQ(back->model_mb, 40.25);
    EXPECT_EQ(back->peak_mb, 80.5);
    EXPECT_EQ(back->statements, 12345);
    EXPECT_EQ(back->lines, 23456);
    EXPECT_EQ(back->bytes, 987654);
    EXPECT_TRUE(back->refused);
    EXPECT_FALSE(back->failed);
    EXPECT_EQ(back->note, "syntax error  at line 9991");
    EXPECT_FALSE(ParseResultLine("kvhost: something else"));
}

} // namespace
} // namespace kvbench
