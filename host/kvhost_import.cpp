// kvhost import: the script helper's zsImportAppendedToSvr called as a scenario calls it, on the
// server store that the kernel is set up with (ZKERNEL_SERVER_STORE or its registry value).
#include "kvhost_commands.h"

#include "server_import.h"

#include <cstdio>

namespace kvhost {

namespace {

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
    const std::string report = ImportIntoServer(parsed.distribution, parsed.user, parsed.mark);
    std::printf("%s\n", report.c_str());
    return true;
}

} // namespace kvhost
