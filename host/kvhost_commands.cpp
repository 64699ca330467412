// The run, record and html commands of kvhost.exe.
#include "kvhost_commands.h"

#include "kvhost_support.h"
#include "model_scenarios.h"

#include <cstdio>

namespace kvhost {
namespace {

using SaveAsHtmlFile = unsigned char(__stdcall*)(IZModel**, const char*);
constexpr WORD kSaveAsHtmlFile = 22;

} // namespace

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
    ComPtr<IZModel> model = LoadModel(model_path);
    Library library;
    auto save = library.Export<SaveAsHtmlFile>(kSaveAsHtmlFile);
    IZModel* host_model = model.Get();
    RequireExport("SaveAsHTMLFile", [&] { return save(&host_model, page.c_str()); });
    std::printf("written %s\n", page.c_str());
}

} // namespace kvhost
