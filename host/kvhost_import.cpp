// kvhost import: the script helper's zsImportAppendedToSvr called as a scenario calls it, on the
// server store that the kernel is set up with (ZKERNEL_SERVER_STORE or its registry value).
#include "kvhost_commands.h"

#include "kvhost_support.h"

#include <korvalith.h>

#include <cstdio>

namespace kvhost {

namespace {

using GetClassObject = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
constexpr WORD kDllGetClassObject = 20;

struct ImportArguments {
    std::string distribution, user;
    bool mark = false;
};

// The arguments, or the reason they cannot be carried out.
bool Parse(const std::vector<std::string>& args, ImportArguments& parsed, std::string& problem) {
    bool has_distribution = false, has_user = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--mark") {
            parsed.mark = true;
            continue;
        }
        if (arg != "--distr" && arg != "--user") {
            problem = "unexpected argument " + arg;
            return false;
        }
        bool& given = arg == "--distr" ? has_distribution : has_user;
        if (given) {
            problem = "option " + arg + " given twice";
            return false;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            problem = "option " + arg + " needs a value";
            return false;
        }
        (arg == "--distr" ? parsed.distribution : parsed.user) = args[++i];
        given = true;
    }
    if (!has_distribution || !has_user) {
        problem = std::string(has_distribution ? "--user" : "--distr") + " is missing";
        return false;
    }
    return true;
}

} // namespace

bool ImportUserWork(const std::vector<std::string>& args, std::string& problem) {
    ImportArguments parsed;
    if (!Parse(args, parsed, problem))
        return false;
    Library library;
    auto get_class_object = library.Export<GetClassObject>(kDllGetClassObject);
    ComPtr<IClassFactory> factory;
    Check(get_class_object(CLSID_ZScriptHelper, IID_IClassFactory,
                           reinterpret_cast<void**>(factory.GetAddressOf())),
          "finding the script helper's class factory");
    ComPtr<IZScriptHelper> helper;
    Check(factory->CreateInstance(nullptr, IID_IZScriptHelper,
                                  reinterpret_cast<void**>(helper.GetAddressOf())),
          "creating the script helper");
    OutText report;
    Check(helper->zsImportAppendedToSvr(Text(Widen(parsed.distribution)), Text(Widen(parsed.user)),
                                        parsed.mark ? VARIANT_TRUE : VARIANT_FALSE, report.put()),
          "the import");
    std::printf("%s\n", report.ansi().c_str());
    return true;
}

} // namespace kvhost
