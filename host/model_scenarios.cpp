// The exports are found by ordinal and called with stdcall, kernel objects passed as the address
// of the host's variable, booleans in 32-bit slots and a one-byte result.
#include "model_scenarios.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <vector>

namespace kvhost {
namespace {

using ExportBool = unsigned char;
using BoolSlot = std::uint32_t;

using ScriptExecute = ExportBool(__stdcall*)(HWND, IZModel**, const char*);
using ScriptEnd = ExportBool(__stdcall*)(HWND, const char*, IZModel**);
using ScriptModule = ExportBool(__stdcall*)(IZClassVector**, const char*, BoolSlot);
using ScriptSecurity = ExportBool(__stdcall*)(IZModel**, const char*);
using ScriptFilter = ExportBool(__stdcall*)(IZFilterVector**, const char*, BoolSlot, BoolSlot);
using ScriptClass = ExportBool(__stdcall*)(IZClass**, const char*, BoolSlot, BoolSlot, BoolSlot,
                                           BoolSlot);
using ScriptStart = ExportBool(__stdcall*)(IZModel**);

constexpr WORD kScriptExecute = 2;
constexpr WORD kScriptEnd = 3;
constexpr WORD kScriptModule = 4;
constexpr WORD kScriptSecurity = 6;
constexpr WORD kScriptFilter = 8;
constexpr WORD kScriptClass = 10;
constexpr WORD kScriptStart = 15;

// Classes are told apart by the kernel's own names: two names that the ANSI code page shows
// alike are still two classes.
std::wstring NameOf(IZClass* cls) {
    OutText name;
    Check(cls->get_zrName(name.put()), "reading a class name");
    return std::wstring(name.get(), SysStringLen(name.get()));
}

struct StructureClass {
    ComPtr<IZClass> cls;
    std::wstring name;
    std::wstring base;
};

// The classes of the structure, each base class before the classes derived from it (otherwise
// in the structure's order).
std::vector<StructureClass> ClassesBaseFirst(IZClassVector* vector) {
    LONG count = 0;
    Check(vector->get_zrCount(&count), "counting classes");
    std::vector<std::wstring> names;
    std::map<std::wstring, StructureClass> classes;
    for (LONG i = 0; i < count; ++i) {
        StructureClass entry;
        Check(vector->zrItem(i, entry.cls.GetAddressOf()), "reading a class");
        Required(entry.cls, "reading a class");
        entry.name = NameOf(entry.cls.Get());
        ComPtr<IZClass> base;
        Check(entry.cls->get_zrBaseClass(base.GetAddressOf()), "reading a base class");
        if (base)
            entry.base = NameOf(base.Get());
        names.push_back(entry.name);
        classes[entry.name] = std::move(entry);
    }
    std::vector<StructureClass> ordered;
    std::set<std::wstring> visited;
    // Depth first along the base chain; a cycle (which the kernel should never hold) is cut.
    auto place = [&](auto&& self, const std::wstring& name) -> void {
        if (!classes.count(name) || !visited.insert(name).second)
            return;
        self(self, classes[name].base);
        ordered.push_back(classes[name]);
    };
    for (const std::wstring& name : names)
        place(place, name);
    return ordered;
}

std::vector<std::string> FilterNames(IZFilterVector* filters) {
    LONG count = 0;
    Check(filters->get_zrFiltersCount(&count), "counting filters");
    std::vector<std::string> names;
    for (LONG i = 0; i < count; ++i) {
        OutText name;
        Check(filters->zrFilterName(i, name.put()), "reading a filter name");
        names.push_back(name.exportName("filter name"));
    }
    return names;
}

std::vector<std::string> ModuleNames(IZClassVector* vector) {
    std::vector<std::string> names;
    for (LONG k = 0;; ++k) {
        OutText name;
        Check(vector->zrPatchFunctionName(k, name.put()), "reading a module name");
        if (SysStringLen(name.get()) == 0)
            return names;
        names.push_back(name.exportName("module name"));
    }
}

} // namespace

// The scenario file must be writable before the recording closes: the library would otherwise
// ask the user to retry the write for ever, which a command line cannot answer. The file is
// the one the library will write: its environment references expanded.
void RequireWritable(const std::string& path) {
    const std::wstring target = ExpandedPath(path);
    HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw HostError("cannot write " + path + ": " + SystemMessage(GetLastError()));
    const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
    CloseHandle(file);
    if (created) // the library writes it; a failed recording leaves no empty file behind
        DeleteFileW(target.c_str());
}

void RecordWholeStructure(IZModel* model, const std::string& scenario) {
    RequireWritable(scenario);
    ComPtr<IZClassVector> vector;
    Check(model->zrGetClassVector(vector.GetAddressOf()), "reading the class vector");
    Required(vector, "reading the class vector");
    ComPtr<IZFilterVector> filters;
    Check(vector->get_zrFilterVector(filters.GetAddressOf()), "reading the filters");
    Required(filters, "reading the filters");

    Library library;
    OwnerWindow owner;
    IZModel* host_model = model;
    IZClassVector* host_vector = vector.Get();
    IZFilterVector* host_filters = filters.Get();

    auto start = library.Export<ScriptStart>(kScriptStart);
    RequireExport("scriptStart", [&] { return start(&host_model); });

    auto record_class = library.Export<ScriptClass>(kScriptClass);
    const std::vector<StructureClass> classes = ClassesBaseFirst(vector.Get());
    for (const StructureClass& entry : classes) {
        IZClass* host_class = entry.cls.Get();
        RequireExport("scriptClass " + Narrow(entry.name.data(), entry.name.size()),
                      [&] { return record_class(&host_class, "", FALSE, TRUE, FALSE, FALSE); });
    }

    auto record_filter = library.Export<ScriptFilter>(kScriptFilter);
    for (const std::string& name : FilterNames(filters.Get()))
        RequireExport("scriptFilter " + name,
                      [&] { return record_filter(&host_filters, name.c_str(), FALSE, FALSE); });
    auto record_module = library.Export<ScriptModule>(kScriptModule);
    for (const std::string& name : ModuleNames(vector.Get()))
        RequireExport("scriptModule " + name,
                      [&] { return record_module(&host_vector, name.c_str(), FALSE); });
    auto record_security = library.Export<ScriptSecurity>(kScriptSecurity);
    for (const UserGroup& group : UserGroups(model)) {
        // Rights are given by group identifier in a scenario: a group without one cannot be
        // named there.
        if (group.id.empty()) {
            std::fprintf(stderr, "kvhost: a group without identifier is left out\n");
            continue;
        }
        const std::string identifier = ExportName(group.id, "group identifier");
        RequireExport("scriptSecurity " + identifier,
                      [&] { return record_security(&host_model, identifier.c_str()); });
    }

    auto end = library.Export<ScriptEnd>(kScriptEnd);
    RequireExport("scriptEnd", [&] { return end(owner.get(), scenario.c_str(), &host_model); });
}

bool ExecuteScenario(IZModel* model, const std::string& scenario) {
    Library library;
    OwnerWindow owner;
    auto execute = library.Export<ScriptExecute>(kScriptExecute);
    IZModel* host_model = model;
    const bool changed =
        CallExport([&] { return execute(owner.get(), &host_model, scenario.c_str()); });
    if (!changed) {
        std::string error = TakeErrorDescription();
        if (!error.empty())
            throw HostError("the scenario failed: " + error);
    }
    return changed;
}

} // namespace kvhost
