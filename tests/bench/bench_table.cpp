#include "bench_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

namespace kvbench {
namespace {

constexpr char kResultTag[] = "kvbench-result";
constexpr double kGrowthPerDoubling = 2.3;

// The limit of time / floor for the operations that have one.
std::optional<double> RatioLimit(const std::string& operation) {
    if (operation == "record" || operation == "html")
        return 1.3;
    if (operation == "difference" || operation == "import")
        return 1.5;
    return std::nullopt;
}

// The limit of own memory in megabytes for the operations that have one: a fixed amount for
// those that read one structure, a share of the models for those that compare several (not
// judged where the models' memory was not measured).
constexpr double kOwnMegabytes = 32;
constexpr double kOwnShareOfModels = 0.2;

std::optional<double> OwnMemoryLimit(const Measurement& m) {
    if (m.operation == "record" || m.operation == "html")
        return kOwnMegabytes;
    if ((m.operation == "difference" || m.operation == "import") && m.models_mb > 0)
        return kOwnShareOfModels * m.models_mb;
    return std::nullopt;
}

std::string Printf(const char* format, auto... values) {
    char text[512];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// What an operation's work grows with: the classes, or for a replay the scenario's statements
// (a structure of a few classes is not a scenario of proportional size).
double Amount(const Measurement& m) {
    return m.statements > 0 ? static_cast<double>(m.statements) : m.size;
}

std::string Label(const Measurement& m) {
    return m.operation + " at " + std::to_string(m.size) + " classes";
}

} // namespace

double Ratio(const Measurement& m) {
    return m.floor > 0 ? m.time / m.floor : 0;
}

std::string ResultLine(const Measurement& m) {
    std::ostringstream line;
    line.precision(17);
    line << kResultTag << ' ' << m.operation << ' ' << m.size << ' ' << m.time << ' ' << m.floor
         << ' ' << m.wall << ' ' << m.model_mb << ' ' << m.peak_mb << ' ' << m.own_mb << ' '
         << m.models_mb << ' ' << m.statements << ' ' << m.lines << ' ' << m.bytes << ' '
         << m.refused << ' ' << m.failed << ' ';
    for (const char c : m.note) // the note ends the line
        line << (c == '\r' || c == '\n' ? ' ' : c);
    return line.str();
}

std::optional<Measurement> ParseResultLine(const std::string& line) {
    std::istringstream in(line);
    std::string tag;
    Measurement m;
    if (!(in >> tag) || tag != kResultTag)
        return std::nullopt;
    if (!(in >> m.operation >> m.size >> m.time >> m.floor >> m.wall >> m.model_mb >> m.peak_mb >>
          m.own_mb >> m.models_mb >> m.statements >> m.lines >> m.bytes >> m.refused >> m.failed))
        return std::nullopt;
    std::getline(in >> std::ws, m.note);
    return m;
}

std::string TableHeader() {
    return Printf("%-10s %7s %9s %9s %6s %9s %9s %8s %9s", "operation", "classes", "time s",
                  "floor s", "ratio", "peak MB", "model MB", "own MB", "wall s");
}

std::string TableLine(const Measurement& m) {
    const std::string head = Printf("%-10s %7d ", m.operation.c_str(), m.size);
    if (m.failed)
        return head + "failed: " + m.note;
    const std::string scenario =
        Printf("scenario %lld lines, %lld KB", m.lines, (m.bytes + 1023) / 1024);
    if (m.refused)
        return head + "refused by the script engine: " + scenario + " (" + m.note + ")";
    std::string line = head + Printf("%9.3f %9.3f %6.2f %9.1f %9.1f %8.1f %9.3f", m.time, m.floor,
                                     Ratio(m), m.peak_mb, m.model_mb, m.own_mb, m.wall);
    if (m.statements > 0)
        line += "  " + scenario +
                Printf(", %.0f statements/s", m.time > 0 ? m.statements / m.time : 0.0);
    return line;
}

Verdict CheckTargets(const std::vector<Measurement>& results) {
    Verdict verdict;
    auto miss = [&](std::string text) {
        verdict.holds = false;
        verdict.misses.push_back(std::move(text));
    };
    std::map<std::string, std::vector<const Measurement*>> timed;
    for (const Measurement& m : results) {
        if (m.failed) {
            miss(Label(m) + " failed: " + m.note);
            continue;
        }
        if (m.refused)
            continue;
        timed[m.operation].push_back(&m);
        const std::optional<double> limit = RatioLimit(m.operation);
        if (limit && Ratio(m) > *limit)
            miss(Label(m) + Printf(": %.2f times its floor (at most %.1f)", Ratio(m), *limit));
        const std::optional<double> own_limit = OwnMemoryLimit(m);
        if (own_limit && m.own_mb >= *own_limit)
            miss(Label(m) + Printf(": own memory %.1f MB (under %.1f MB)", m.own_mb, *own_limit));
    }
    for (auto& [operation, list] : timed) {
        std::sort(list.begin(), list.end(),
                  [](const Measurement* a, const Measurement* b) { return a->size < b->size; });
        for (std::size_t i = 1; i < list.size(); ++i) {
            const Measurement& small = *list[i - 1];
            const Measurement& large = *list[i];
            if (Amount(small) <= 0 || small.time <= 0 || Amount(large) <= Amount(small))
                continue;
            // Doubling may cost 2.3 times; other steps in proportion (2.3 per doubling).
            const double allowed =
                std::pow(kGrowthPerDoubling, std::log2(Amount(large) / Amount(small)));
            const double growth = large.time / small.time;
            if (growth > allowed)
                miss(operation + Printf(" from %d to %d classes: %.2f times the time (at most "
                                        "%.2f)",
                                        small.size, large.size, growth, allowed));
        }
    }
    return verdict;
}

} // namespace kvbench
