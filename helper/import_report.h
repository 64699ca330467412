// ImportReport: the lines that zsImportAppendedToSvr collects while its passes run, in the
// order and with the exact texts of the report file, and the file's name. Pure: no Windows
// header; the shell writes Text() in the ANSI code page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv::import {

// The nine sections of the report, numbered as the passes that write them.
enum class ReportSection {
    AddedClasses = 1,
    AddedLinks,
    AddedFilters,
    AddedModules,
    DeletedAndChanged,
    DeletedFilters,
    Security,
    AttributeOrder,
    EventGroup,
};

class ImportReport {
public:
    // The underline row and the heading that open a section (written even when it stays empty).
    void StartSection(ReportSection section);

    void AddedClass(std::wstring_view server_class);
    void AddedAttribute(std::wstring_view server_class, std::wstring_view attribute);
    // parent_created_by_user: the parent class is not in the distribution structure.
    void AddedLink(std::wstring_view server_parent, std::wstring_view child,
                   bool parent_created_by_user);
    void AddedFilter(std::wstring_view filter);
    void AddedConstraint(std::wstring_view filter, std::wstring_view value);
    void AddedModule(std::wstring_view module);
    void DeletedClass(std::wstring_view server_class);
    void DeletedAttribute(std::wstring_view server_class, std::wstring_view attribute);
    // change_list begins with ", " (see ChangeList).
    void ChangedAttribute(std::wstring_view user_class, std::wstring_view attribute,
                          std::wstring_view change_list);
    void DeletedFilter(std::wstring_view filter);
    // Three lines: the heading line and both constraint lists (see ConstraintList).
    void ChangedFilter(std::wstring_view filter, std::wstring_view distribution_list,
                       std::wstring_view user_list);
    void EventGroupFailed(std::wstring_view message);

    const std::vector<std::wstring>& Lines() const { return lines_; }
    // Every line followed by CR LF, the last one too.
    std::wstring Text() const;

private:
    void Add(std::wstring line);

    std::vector<std::wstring> lines_;
};

// "zsImportAppendedToSvr.log" for 0, else the name numbered n ("zsImportAppendedToSvr2.log").
std::wstring ReportFileName(unsigned number);

// The message of the event-group pass when the store has no group of that name.
extern const std::wstring_view kEventGroupMissing;

} // namespace kv::import
