// The import of a user's work into the server structure, through the script helper's
// zsImportAppendedToSvr called as a scenario calls it, on the server store the kernel is set up
// with (ZKERNEL_SERVER_STORE or its registry value). kvhost's import command and the benchmark
// share it.
#pragma once

#include <string>

namespace kvhost {

// Paths and names in the ANSI code page; answers the report's full path. Raises a HostError
// with the helper's error information when the import fails.
std::string ImportIntoServer(const std::string& distribution, const std::string& user, bool mark);

} // namespace kvhost
