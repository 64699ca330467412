// The report file of zsImportAppendedToSvr: a new file in the temporary folder.
#pragma once

#include "helper/import_report.h"

#include <string>

namespace kv::import {

// Writes the report in the ANSI code page to the first free name (ReportFileName 0, 1, 2, ...)
// of the temporary folder, never over an existing file, and returns the file's full path.
std::wstring WriteImportReport(const ImportReport& report);

} // namespace kv::import
