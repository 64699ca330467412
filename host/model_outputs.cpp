#include "model_outputs.h"

#include "model_scenarios.h"

namespace kvhost {
namespace {

using ExportBool = unsigned char;
using ScriptStart = ExportBool(__stdcall*)(IZModel**);
using ScriptDifferenceFile = ExportBool(__stdcall*)(IZModel**, const char*);
using ScriptEnd = ExportBool(__stdcall*)(HWND, const char*, IZModel**);
using SaveAsHtmlFile = ExportBool(__stdcall*)(IZModel**, const char*);

constexpr WORD kScriptEnd = 3;
constexpr WORD kScriptStart = 15;
constexpr WORD kScriptDifferenceFile = 21;
constexpr WORD kSaveAsHtmlFile = 22;

} // namespace

void WriteDifferenceScenario(IZModel* current, const std::string& target,
                             const std::string& scenario) {
    RequireWritable(scenario);
    Library library;
    OwnerWindow owner;
    IZModel* host_model = current;
    IZModel* no_model = nullptr;

    auto start = library.Export<ScriptStart>(kScriptStart);
    RequireExport("scriptStart", [&] { return start(&host_model); });
    auto difference = library.Export<ScriptDifferenceFile>(kScriptDifferenceFile);
    RequireExport("scriptDifferenceFile " + target,
                  [&] { return difference(&host_model, target.c_str()); });
    auto end = library.Export<ScriptEnd>(kScriptEnd);
    RequireExport("scriptEnd", [&] { return end(owner.get(), scenario.c_str(), &no_model); });
}

void WriteStructurePage(IZModel* model, const std::string& page) {
    Library library;
    auto save = library.Export<SaveAsHtmlFile>(kSaveAsHtmlFile);
    IZModel* host_model = model;
    RequireExport("SaveAsHTMLFile", [&] { return save(&host_model, page.c_str()); });
}

} // namespace kvhost
