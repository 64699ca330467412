// A child process run to its end, its standard output and error captured.
#pragma once

#include <windows.h>

#include <string>

// Runs a command line and returns what it wrote to its standard output and error.
std::string RunCaptured(std::wstring command_line);
