#include "convergence_check.h"

#include "com/com_support.h"
#include "comparison/difference_text.h"
#include "core/structure_file.h"
#include "difference_aspects.h"
#include "model_outputs.h"
#include "model_scenarios.h"
#include "platform_value_text.h"
#include "support/whole_files.h"

namespace kvtest {
namespace {

// The host's messages and the scenario's lines are in the ANSI code page.
std::string Utf8FromAnsi(const std::string& text) {
    return zk::com::Utf8(kvhost::Widen(text));
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

ConvergenceOutcome Converged(const zk::Structure& a, const zk::Structure& b,
                             const std::string& folder) {
    ConvergenceOutcome outcome;
    const std::string aPath = folder + "a.ztp";
    const std::string bPath = folder + "b.ztp";
    WriteWholeFile(aPath, zk::WriteStructureFile(a));
    WriteWholeFile(bPath, zk::WriteStructureFile(b));
    const auto model = kvhost::LoadModel(aPath);
    const std::string scenario = folder + "difference.vbs";
    kvhost::WriteDifferenceScenario(model.Get(), bPath, scenario);

    kvhost::ExecuteScenario(model.Get(), scenario);
    const std::string resultPath = folder + "result.ztp";
    kvhost::Check(model->zrSaveModel(kvhost::Text(kvhost::Widen(resultPath)), nullptr),
                  "storing the converged structure");
    outcome.differences = DifferenceAspects(a, zk::ReadStructureFile(ReadWholeFile(resultPath)), b,
                                            kvgen::PlatformValueText);

    const std::string second = folder + "second.vbs";
    kvhost::WriteDifferenceScenario(model.Get(), bPath, second);
    for (const std::string& statement : StatementsBeforeRights(ReadWholeFile(second)))
        outcome.secondStatements.push_back(Utf8FromAnsi(statement));
    return outcome;
}

} // namespace

ConvergenceOutcome Converge(const zk::Structure& a, const zk::Structure& b,
                            const std::string& folder) {
    try {
        return Converged(a, b, folder);
    } catch (const std::exception& error) {
        ConvergenceOutcome failed;
        failed.differences = {"failed: " + Utf8FromAnsi(error.what())};
        return failed;
    }
}

std::vector<std::string> StatementsBeforeRights(const std::string& scenario) {
    const std::vector<std::string> lines = Lines(scenario);
    std::vector<std::string> statements;
    std::size_t at = 0;
    for (int i = 0; i < kv::kDifferenceSectionCount - 1; ++i) {
        const auto section = static_cast<kv::DifferenceSection>(i);
        const std::string begin(kv::SectionBeginLine(section));
        const std::string end(kv::SectionEndLine(section));
        while (at < lines.size() && lines[at] != begin)
            ++at;
        if (at == lines.size()) {
            statements.push_back("no line " + begin);
            return statements;
        }
        for (++at; at < lines.size() && lines[at] != end; ++at)
            statements.push_back(lines[at]);
    }
    return statements;
}

} // namespace kvtest
