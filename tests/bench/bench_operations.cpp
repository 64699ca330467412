#include "bench_operations.h"

#include "bench_measure.h"
#include "kernel_walks.h"
#include "kvhost_support.h"
#include "model_outputs.h"
#include "model_scenarios.h"
#include "server_import.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>

namespace kvbench {
namespace {

using kvhost::ComPtr;

// How one operation is run: what is done before each repetition and before its floor (not
// measured), the operation and its floor, and how many times each runs in one measurement
// (which is divided by that, so that a short operation is measured over more than the clock's
// ticks).
struct Run {
    std::function<void()> before = [] {};
    std::function<void()> operation;
    std::function<void()> floor;
    int runs = 1;
    // The operation leaves its inputs as they were, so it may run again at once: a short one is
    // then run several times in one measurement.
    bool repeatable = false;
    std::function<void()> before_floor = [] {};
    // The floor reads what the operation made (the replayed models), so it follows a run of it.
    bool floor_follows_operation = false;
};

// A measurement lasts at least this long where the operation allows (the processor-time clock
// ticks in 10 ms or more under Wine), with at most this many runs.
constexpr double kShortestMeasurement = 1.0;
constexpr double kClockTick = 0.01;
constexpr int kMostRunsInOneMeasurement = 32;

// Runs of a repeatable operation in one measurement, from a first run.
int RunsPerMeasurement(const Run& run) {
    if (!run.repeatable)
        return 1;
    const double first = Measure(run.operation).cpu;
    if (first >= kShortestMeasurement)
        return 1;
    const double runs = std::ceil(kShortestMeasurement / std::max(first, kClockTick));
    return std::min(kMostRunsInOneMeasurement, static_cast<int>(runs));
}

std::function<void()> Times(int count, const std::function<void()>& work) {
    return [=] {
        for (int i = 0; i < count; ++i)
            work();
    };
}

// Small replays run together: about this many classes are replayed in one measurement.
constexpr int kReplayedClassesPerMeasurement = 128;

// The replay's floor: the Script Control walks the replayed structure through the same
// dispatch interfaces, reading what the scenario wrote, and writes nothing.
constexpr char kReadingWalk[] = R"(dim cvec, fvec, cls, cval, props, other, i, j, k, v, n
set cvec = mdl.zrGetClassVector
for i = 0 to cvec.zrCount - 1
  set cls = cvec.zrItem(i)
  v = cls.zrName
  v = cls.zrScreenName
  set other = cls.zrBaseClass
  for j = 0 to cls.zrClassValuesCount - 1
    set cval = cls.zriClassValueItem(j)
    v = cval.zrName
    v = cval.zrType
    v = cval.zrScreenName
    v = cval.zrAliasName
    v = cval.zrGroup
    v = cval.zrFunctionCode
    v = cval.zrMeasureUnit
    v = cval.zrMeasureEntity
    v = cval.zrForbidInput
    set other = cval.zrInheritedFrom
    set props = cval.zrProperties
    v = props.zrCount
  next
  for j = 0 to cls.zrChildClassesCount - 1
    set other = cls.zriChildClassItem(j)
    v = other.zrName
  next
next
set fvec = cvec.zrFilterVector
for i = 0 to fvec.zrFiltersCount - 1
  n = fvec.zrFilterName(i)
  v = fvec.zrFilterCaption(i)
  for j = 0 to fvec.zrConstraintsCount(n) - 1
    v = fvec.zrConstraintItem(n, j)
  next
next
k = 0
n = cvec.zrPatchFunctionName(k)
do while n <> ""
  v = cvec.zrPatchFunction(n)
  k = k + 1
  n = cvec.zrPatchFunctionName(k)
loop
)";

std::string ReadWhole(const std::string& path) {
    std::ifstream file(kvhost::Widen(path).c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteWhole(const std::string& path, const std::string& text) {
    std::ofstream file(kvhost::Widen(path).c_str(), std::ios::binary | std::ios::trunc);
    file << text;
    if (!file)
        throw kvhost::HostError("cannot write " + path);
}

// The scenario's lines, bytes and statement lines (neither empty nor only a comment).
void CountScenario(const std::string& text, Measurement& m) {
    m.bytes = static_cast<long long>(text.size());
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        ++m.lines;
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first != std::string::npos && line[first] != '\'')
            ++m.statements;
    }
}

// The runner's words for a scenario the script engine cannot compile.
bool EngineRefused(const std::string& message) {
    return kvhost::Widen(message).find(L"Синтаксическая ошибка") != std::wstring::npos;
}

Run RecordRun(const Inputs& inputs, int size) {
    const ComPtr<IZModel> model = kvhost::LoadModel(inputs.Structure(size));
    const std::string scenario = inputs.Output("record", size);
    return {[] {}, [=] { kvhost::RecordWholeStructure(model.Get(), scenario); },
            [=] { WalkRecordedValues(model.Get()); }, 1, true};
}

Run HtmlRun(const Inputs& inputs, int size) {
    const ComPtr<IZModel> model = kvhost::LoadModel(inputs.Structure(size));
    const std::string page = inputs.Output("html", size);
    return {[] {}, [=] { kvhost::WriteStructurePage(model.Get(), page); },
            [=] { WalkPageValues(model.Get()); }, 1, true};
}

// Every replay runs on a fresh model that holds only the structure's groups; the floor walks
// the structures the replays made.
Run ReplayRun(const Inputs& inputs, int size) {
    const int runs = std::max(1, kReplayedClassesPerMeasurement / size);
    auto models = std::make_shared<std::vector<ComPtr<IZModel>>>();
    const std::string groups = inputs.GroupsOnly(size);
    const std::string scenario = inputs.Scenario(size);
    const std::string walk = inputs.Output("replay", size);
    WriteWhole(walk, kReadingWalk);
    auto each = [models](const std::string& script) {
        for (const ComPtr<IZModel>& model : *models)
            kvhost::ExecuteScenario(model.Get(), script);
    };
    return {[=] {
                models->clear();
                for (int i = 0; i < runs; ++i)
                    models->push_back(kvhost::LoadModel(groups));
            },
            [=] { each(scenario); },
            [=] { each(walk); },
            runs,
            false,
            [] {},
            true};
}

// The difference loads the target structure itself; so does its floor, which then walks both.
Run DifferenceRun(const Inputs& inputs, int size) {
    const ComPtr<IZModel> model = kvhost::LoadModel(inputs.Structure(size));
    const std::string target = inputs.Edited(size);
    const std::string scenario = inputs.Output("difference", size);
    return {[] {}, [=] { kvhost::WriteDifferenceScenario(model.Get(), target, scenario); },
            [=] {
                WalkStructure(model.Get());
                WalkStructure(kvhost::LoadModel(target).Get());
            },
            1, true};
}

ComPtr<IZModel> LoadFromServer(const char* name) {
    ComPtr<IZModel> model = kvhost::NewModel();
    kvhost::Check(model->zrLoadModel(kvhost::Text(kvhost::Widen(name)), nullptr, 4),
                  "loading a server structure");
    return model;
}

// Every repetition imports into the server structure as it was made, and its floor starts from
// it too. The import loads the three structures itself and stores the server structure once;
// so does its floor, which walks them and stores the server structure back as it loaded it.
Run ImportRun(const Inputs& inputs, int size) {
    if (!SetEnvironmentVariableW(L"ZKERNEL_SERVER_STORE", inputs.Store(size).c_str()))
        throw kvhost::HostError("cannot name the server store");
    const std::wstring server = inputs.ServerStructure(size);
    const std::wstring pristine = inputs.PristineServerStructure(size);
    const std::string distribution = inputs.Structure(size);
    const auto restore = [=] {
        if (!CopyFileW(pristine.c_str(), server.c_str(), FALSE))
            throw kvhost::HostError("cannot restore the server structure");
    };
    return {restore,
            [=] {
                const std::string report =
                    kvhost::ImportIntoServer(distribution, Inputs::kUserStructure, false);
                DeleteFileW(kvhost::Widen(report).c_str());
            },
            [=] {
                const ComPtr<IZModel> server_model = LoadFromServer("structure.ztp");
                WalkStructure(server_model.Get());
                WalkStructure(kvhost::LoadModel(distribution).Get());
                WalkStructure(LoadFromServer(Inputs::kUserStructure).Get());
                kvhost::Check(server_model->zrSaveModel(kvhost::Text(L""), nullptr),
                              "storing the server structure");
            },
            1,
            false,
            restore};
}

Run MakeRun(const Inputs& inputs, const std::string& operation, int size) {
    if (operation == "record")
        return RecordRun(inputs, size);
    if (operation == "difference")
        return DifferenceRun(inputs, size);
    if (operation == "html")
        return HtmlRun(inputs, size);
    if (operation == "import")
        return ImportRun(inputs, size);
    if (operation == "replay")
        return ReplayRun(inputs, size);
    throw kvhost::HostError("unknown operation " + operation);
}

} // namespace

const std::vector<std::string>& OperationNames() {
    static const std::vector<std::string> names = {"record", "difference", "html", "import",
                                                   "replay"};
    return names;
}

bool AtReplaySizes(const std::string& operation) {
    return operation == "replay";
}

Measurement RunOperation(const Inputs& inputs, const std::string& operation, int size, int repeat) {
    Measurement m;
    m.operation = operation;
    m.size = size;
    try {
        if (operation == "replay")
            CountScenario(ReadWhole(inputs.Scenario(size)), m);
        // The library stays loaded while the operation is measured, as in the application that
        // uses it; kvhost's load and unload with every command (about 0.03 s) is not the
        // operation's own work. The import, which holds three structures in a 32-bit process,
        // loads it with every run as kvhost does: at 4,000 classes it needs the address space.
        std::optional<kvhost::Library> library;
        if (operation != "import")
            library.emplace();
        Run run = MakeRun(inputs, operation, size);
        m.model_mb = PeakMegabytes();
        run.before();
        const int batch = RunsPerMeasurement(run);
        const std::function<void()> operation_batch = Times(batch, run.operation);
        const std::function<void()> floor_batch = Times(batch, run.floor);
        Best operation_time, floor_time;
        for (int i = 0; i < repeat; ++i) {
            run.before();
            operation_time.Add(Measure(operation_batch));
            run.before_floor();
            floor_time.Add(Measure(floor_batch));
        }
        const int runs = run.runs * batch;
        m.time = operation_time.best.cpu / runs;
        m.wall = operation_time.best.wall / runs;
        m.floor = floor_time.best.cpu / runs;
    } catch (const std::exception& error) {
        m.note = error.what();
        if (operation == "replay" && EngineRefused(m.note))
            m.refused = true;
        else
            m.failed = true;
    }
    m.peak_mb = PeakMegabytes();
    return m;
}

Measurement MeasureMemory(const Inputs& inputs, const std::string& operation, int size,
                          MemoryRun which) {
    Measurement m;
    m.operation = operation;
    m.size = size;
    try {
        std::optional<kvhost::Library> library; // kept loaded as RunOperation keeps it
        if (operation != "import")
            library.emplace();
        const double start = PrivateMegabytes();
        Run run = MakeRun(inputs, operation, size);
        run.before();
        m.models_mb = PrivateMegabytes() - start;
        if (which == MemoryRun::Operation) {
            m.own_mb = GrowthMegabytes(run.operation);
        } else {
            if (run.floor_follows_operation)
                run.operation();
            run.before_floor();
            m.own_mb = GrowthMegabytes(run.floor);
        }
    } catch (const std::exception& error) {
        m.note = error.what();
        m.failed = true;
    }
    return m;
}

} // namespace kvbench
