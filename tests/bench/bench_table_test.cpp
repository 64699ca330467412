// The benchmark's verdict on its targets and the line a child process reports its measurement in.
#include "bench_table.h"

#include <gtest/gtest.h>

#include <cstring>

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

// An operation on time whose run holds own_mb beyond its floor's, over models of models_mb.
Measurement Holding(const char* operation, double own_mb, double models_mb = 400) {
    Measurement m = Timed(operation, 500, 1);
    m.own_mb = own_mb;
    m.models_mb = models_mb;
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
        {"recording within 1.3 times", {Timed("record", 500, 1.3)}, true},
        {"recording past 1.3 times", {Timed("record", 500, 1.31)}, false},
        {"HTML past 1.3 times", {Timed("html", 500, 1.35)}, false},
        {"difference within 1.5 times", {Timed("difference", 500, 1.5)}, true},
        {"difference past 1.5 times", {Timed("difference", 500, 1.6)}, false},
        {"import within 1.5 times", {Timed("import", 500, 1.5)}, true},
        {"import past 1.5 times", {Timed("import", 500, 1.6)}, false},
        {"replay has no ratio target", {Timed("replay", 1, 30)}, true},
        {"recording's own memory under 32 MB", {Holding("record", 31.9)}, true},
        {"recording's own memory at 32 MB", {Holding("record", 32)}, false},
        {"HTML's own memory past 32 MB", {Holding("html", 40, 2000)}, false},
        {"difference under a fifth of the models", {Holding("difference", 79, 400)}, true},
        {"difference at a fifth of the models", {Holding("difference", 80, 400)}, false},
        {"import past a fifth of the models", {Holding("import", 30, 100)}, false},
        {"replay has no memory target", {Holding("replay", 500, 10)}, true},
        {"doubling at 2.3 times", {Timed("import", 500, 1), Timed("import", 1000, 2.3, 2)}, true},
        {"doubling past 2.3 times",
         {Timed("import", 1000, 2.31, 2), Timed("import", 500, 1)},
         false},
        {"four times the size in proportion",
         {Timed("import", 100, 1), Timed("import", 400, 5.2, 4)},
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

// Each value of a table line ends where its heading ends, so the columns read as a table.
TEST(BenchTable, ValuesStandUnderTheirHeadings) {
    Measurement m = Timed("difference", 4000, 10.25, 9.5);
    m.peak_mb = 1012.5;
    m.model_mb = 874.1;
    m.own_mb = 35.7;
    m.wall = 10.375;
    const std::string header = TableHeader();
    const std::string line = TableLine(m);
    const struct {
        const char* heading;
        const char* value;
    } columns[] = {{" classes", " 4000"}, {" time s", " 10.250"},  {" floor s", " 9.500"},
                   {" ratio", " 1.08"},   {" peak MB", " 1012.5"}, {" model MB", " 874.1"},
                   {" own MB", " 35.7"},  {" wall s", " 10.375"}};
    for (const auto& column : columns) {
        const std::size_t heading = header.find(column.heading);
        const std::size_t value = line.find(column.value);
        ASSERT_NE(heading, std::string::npos) << header;
        ASSERT_NE(value, std::string::npos) << line;
        EXPECT_EQ(heading + std::strlen(column.heading), value + std::strlen(column.value))
            << column.heading << "\n"
            << header << "\n"
            << line;
    }
}

TEST(BenchResultLine, CarriesEveryFieldAndANoteWithBlanks) {
    Measurement m = Timed("replay", 400, 0.125, 0.0625);
    m.wall = 0.5;
    m.model_mb = 40.25;
    m.peak_mb = 80.5;
    m.own_mb = 12.75;
    m.models_mb = 64.5;
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
    EXPECT_EQ(back->own_mb, 12.75);
    EXPECT_EQ(back->models_mb, 64.5);
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
