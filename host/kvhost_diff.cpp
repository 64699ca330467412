// kvhost diff CURRENT TARGET -o SCENARIO [--apply]: the difference scenario from one structure
// file to another, written inside a recording on CURRENT's model as the configurator writes it;
// with --apply, the scenario is then run on CURRENT and the result stored in CURRENT.
#include "kvhost_commands.h"

#include "kvhost_support.h"
#include "model_outputs.h"

#include <cstdio>

namespace kvhost {
namespace {

struct DiffArguments {
    std::string current;
    std::string target;
    std::string scenario;
    bool apply = false;
};

DiffArguments ParseDiffArguments(const std::vector<std::string>& arguments) {
    DiffArguments parsed;
    std::vector<std::string> files;
    bool output_given = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--apply") {
            parsed.apply = true;
        } else if (argument == "-o") {
            if (output_given)
                throw UsageProblem("option -o given twice");
            if (i + 1 >= arguments.size() || arguments[i + 1].empty())
                throw UsageProblem("option -o needs a file name");
            parsed.scenario = arguments[++i];
            output_given = true;
        } else if (!argument.empty() && argument[0] == '-') {
            throw UsageProblem("unknown option " + argument);
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() != 2 || files[0].empty() || files[1].empty())
        throw UsageProblem("diff needs the current and the target structure file");
    if (!output_given)
        throw UsageProblem("-o is missing");
    parsed.current = files[0];
    parsed.target = files[1];
    return parsed;
}

} // namespace

void WriteDifference(const std::vector<std::string>& arguments) {
    const DiffArguments args = ParseDiffArguments(arguments);
    {
        ComPtr<IZModel> model = LoadModel(args.current);
        WriteDifferenceScenario(model.Get(), args.target, args.scenario);
        std::printf("written %s\n", args.scenario.c_str());
    }
    if (args.apply)
        RunScenario(args.scenario, args.current, "");
}

} // namespace kvhost
