// The files around a difference that kvhost reads or writes itself: the summary of a scenario
// file, temporary files that never outlive a failure, the replacement of a structure file.
#pragma once

#include "difference_summary.h"
#include "kvhost_support.h"

#include <string>

namespace kvhost {

// The summary of the difference scenario file (ANSI path, environment references expanded as
// the library expands them). A file that cannot be read is a HostError; one that is no whole
// difference raises NotADifference.
DifferenceSummary ReadDifferenceSummary(const std::string& scenario);

// Writes the difference scenario from the structure file `current` to `target` into the file
// `scenario` (as kvhost diff -o does) and reads its summary back.
DifferenceSummary WriteSummarisedDifference(const std::string& current, const std::string& target,
                                            const std::string& scenario);

// Names for a report in the ANSI code page, "?" for what it lacks.
std::string ReportName(std::wstring_view name);

// A fresh empty file of a unique name in the folder (the temporary folder when the folder is
// empty), deleted when the object goes unless it was kept.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& folder, const char* prefix);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();
    const std::string& path() const { return path_; }
    // The file is no longer this object's: it was moved into place.
    void Release() { path_.clear(); }

private:
    std::string path_;
};

// The folder of a file's full path, with its final backslash.
std::string FolderOf(const std::string& path);

// Puts `replacement` in the place of `target` by renaming it over the target, so the target's
// name never names a partial file nor nothing. With a backup name, a copy of the old target is
// kept under it first (an older backup replaced).
void ReplaceStructureFile(const std::string& target, const std::string& replacement,
                          const std::string& backup);

} // namespace kvhost
