// The run, record and html commands of kvhost.exe.
#include "kvhost_commands.h"

#include "kvhost_support.h"
#include "model_outputs.h"
#include "model_scenarios.h"

#include <cstdio>

namespace kvhost {

void RunScenario(const std::string& scenario, const std::string& model_path,
                 const std::string& save_path) {
    ComPtr<IZModel> model = LoadModel(model_path);
    const bool changed = ExecuteScenario(model.Get(), scenario);
    std::printf("%s\n", changed ? "model changed" : "model unchanged");
    Check(model->zrSaveModel(Text(Widen(save_path)), nullptr), "storing the structure");
    std::printf("stored %s\n", save_path.empty() ? model_path.c_str() : save_path.c_str());
}

void RecordStructure(const std::string& model_path, const std::string& scenario) {
    ComPtr<IZModel> model = LoadModel(model_path);
    RecordWholeStructure(model.Get(), scenario);
    std::printf("recorded %s\n", scenario.c_str());
}

void ExportHtml(const std::string& model_path, const std::string& page) {
    WriteStructurePage(LoadModel(model_path).Get(), page);
    std::printf("written %s\n", page.c_str());
}

} // namespace kvhost
