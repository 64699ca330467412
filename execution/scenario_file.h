// Finding, reading and writing a scenario file: environment references expanded at any length,
// paths past the classic 260-character limit opened whole, never cut to another file's name.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kv::execution {

// Expands %NAME% references of an ANSI file name; the result has no length limit.
std::wstring ExpandFileName(std::string_view ansiName);

// The file's bytes. Raises LibraryError naming the file and the system's reason when it cannot
// be opened or read.
std::string ReadScenarioFile(const std::wstring& path);

// Writes the bytes to the file, replacing it. 0 on success, else the system error code.
unsigned long WriteScenarioFile(const std::wstring& path, std::string_view bytes);

// The same for bytes handed over a piece at a time: `pieces` gives each to the sink, which
// answers false once a write failed (then `pieces` stops).
using ScenarioFileSink = std::function<bool(std::string_view piece)>;
using ScenarioFilePieces = std::function<bool(const ScenarioFileSink& take)>;
unsigned long WriteScenarioFile(const std::wstring& path, const ScenarioFilePieces& pieces);

} // namespace kv::execution
