// Writing a whole file so that a failure leaves no file behind: the bytes go to a temporary
// file in the same folder, which then replaces the target in one rename. Paths of any length.
#pragma once

#include <string>
#include <string_view>

namespace kv::html {

// Replaces (or creates) the file at path with the bytes; raises a LibraryError naming the file
// when anything fails, and then neither a new file nor a temporary one is left.
void WriteFileReplacing(const std::wstring& path, std::string_view bytes);

} // namespace kv::html
