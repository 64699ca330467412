// A difference summary as kvhost reports it: lines of text for a person, or JSON for a script.
// Pure: no Windows header.
#pragma once

#include "difference_summary.h"

#include <string>
#include <string_view>

namespace kvhost {

// Turns a kernel's UTF-16 text into the 8-bit text of the report's reader.
using NarrowText = std::string (*)(std::wstring_view text);

// The statements of sections 1-10, their total and the removals, one per line, each line ending
// in "\n".
std::string SummaryText(const DifferenceSummary& summary, NarrowText narrow);

// The removals alone, one per line ("class "Tool"", "child link "Item" -> "Tool"", ...).
std::string RemovalsText(const Removals& removals, NarrowText narrow);

// The summary as a JSON document in UTF-8, ending in "\n"; docs/kvhost.md has its schema.
std::string SummaryJson(const DifferenceSummary& summary);

// UTF-16 code units (one per element) as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view text);

} // namespace kvhost
