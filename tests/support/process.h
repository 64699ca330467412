// Programs run as a separate process to their end: the real clients (regsvr32, cscript) and
// kvhost.exe, with the exit code and everything they printed.
#pragma once

#include <string>
#include <vector>

namespace kvtest {

struct ProcessOutcome {
    unsigned long exit_code = ~0ul; // ~0 when the program could not start or was stopped
    std::string output;             // standard output and error together
    bool timed_out = false;         // stopped after the time allowed
};

// Runs a command line and waits for the process itself, never for the end of its output: a
// process it starts (Wine's desktop process) may hold the output pipe open long after it ends.
// A program still running after timeout_ms is stopped.
ProcessOutcome RunProcess(const std::wstring& command_line, unsigned long timeout_ms = 120000);

// kvhost.exe from the test program's folder, with the arguments (each quoted).
ProcessOutcome RunHost(const std::vector<std::string>& arguments);

} // namespace kvtest
