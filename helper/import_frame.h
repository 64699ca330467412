// The import of a user's work into the structure on the server (zsImportAppendedToSvr).
#pragma once

#include <string>

namespace kv::import {

// Loads the server structure "structure.ztp", the distribution structure file and the user's
// server structure; brings what the user added into the server structure, reports (and on
// request marks) what the user deleted or changed, carries over the user's rights and
// attribute order, stores the server structure, comments out the event group
// "UserGroup.xml" and writes the report. Returns the report file's full path. Raises
// E_INVALIDARG for a missing distribution file or structures that do not load; nothing is
// stored and no report written when it fails before the store.
std::wstring ImportAppendedToServer(const std::wstring& distribution_file,
                                    const std::wstring& user_structure, bool mark_appended);

} // namespace kv::import
