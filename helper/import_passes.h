// The passes of zsImportAppendedToSvr, run in this order by ImportAppendedToServer. Each opens
// its report section; a failure inside one of its guards is passed over, any other failure
// leaves the pass and ends the import.
#pragma once

#include "helper/import_structures.h"

namespace kv::import {

// What the user added: classes and attributes, links, filters and constraints, modules.
void ImportAddedClasses(ImportStructures& import);
void ImportAddedLinks(ImportStructures& import);
void ImportAddedFilters(ImportStructures& import);
void ImportAddedModules(ImportStructures& import);
// What the user deleted or changed: reported and, on request, marked in the server structure.
void ReportDeletedAndChangedClasses(ImportStructures& import);
void ReportDeletedAndChangedFilters(ImportStructures& import);
// Carried over from the user's structure: rights of the user's groups, attribute order.
void CopySecurity(ImportStructures& import);
void TransferAttributeOrder(ImportStructures& import);
// Every handler of the event group "UserGroup.xml" of the stored server structure commented
// out; a failure becomes one report line.
void CommentEventGroup(ImportStructures& import);

} // namespace kv::import
