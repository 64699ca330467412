// kvhost.exe started as a separate process from the test program's folder, waited for, with its
// exit code and everything it printed.
#pragma once

#include <string>
#include <vector>

struct HostOutcome {
    unsigned long exit_code = 0;
    std::string output; // stdout and stderr together
};

// Runs kvhost.exe with the arguments (each quoted) and waits for it to end.
HostOutcome RunHost(const std::vector<std::string>& arguments);
