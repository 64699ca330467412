// The benchmark's results: one measurement per operation and size, the line a child process
// hands to the parent, the table line printed for it, and the verdict on the targets. Pure: no
// Windows header.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kvbench {

// One operation at one size, measured in a process of its own.
struct Measurement {
    std::string operation; // "record", "difference", "html", "import", "replay"
    int size = 0;          // classes
    double time = 0;       // processor seconds of the operation (best of the repetitions)
    double floor = 0;      // processor seconds of its floor (best of the repetitions)
    double wall = 0;       // wall-clock seconds of the operation (best of the repetitions)
    double model_mb = 0;   // peak working set once the inputs were loaded
    double peak_mb = 0;    // peak working set of the whole process
    // Private bytes: how far one run of the operation raises them beyond what one run of its
    // floor does (the memory of the library's own work), and what the models hold that the
    // operation works on (loaded before the runs, and by the floor's run).
    double own_mb = 0;
    double models_mb = 0;
    long long statements = 0; // replay: statement lines of the scenario
    long long lines = 0;      // replay: lines of the scenario
    long long bytes = 0;      // replay: bytes of the scenario
    bool refused = false;     // replay: the script engine refused the scenario
    bool failed = false;      // the operation or its floor raised an error
    std::string note;         // why it was refused or failed; one line
};

double Ratio(const Measurement& m);

// The child's report as one line of text, and back; nothing when the line is not one.
std::string ResultLine(const Measurement& m);
std::optional<Measurement> ParseResultLine(const std::string& line);

// The printed line: operation, size, time, floor, ratio, peak memory, own memory and, for the
// replay, the scenario's size and statements per second.
std::string TableLine(const Measurement& m);
std::string TableHeader();

// The targets: recording and HTML export within 1.3 times their floor, the difference and the
// import within 1.5 times; every operation growing linearly (doubling the size at most 2.3
// times the time; for the replay the size is the scenario's statements); own memory under
// 32 MB for recording and HTML export, under a fifth of the models' memory for the difference
// and the import. A refused replay is reported, not judged; an operation that failed misses
// its target.
struct Verdict {
    bool holds = true;
    std::vector<std::string> misses; // one readable line per missed target
};
Verdict CheckTargets(const std::vector<Measurement>& results);

} // namespace kvbench
