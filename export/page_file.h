// Writing a whole file so that a failure leaves no file behind: the bytes go to a temporary
// file in the same folder, which then replaces the target in one rename. Paths of any length.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kv::html {

// Replaces (or creates) the file at path with the bytes; raises a LibraryError naming the file
// when anything fails, and then neither a new file nor a temporary one is left.
void WriteFileReplacing(const std::wstring& path, std::string_view bytes);

// The same for bytes made while they are written: `write` hands them, in order, to the sink it
// is given. An exception from `write` leaves no file behind either, and passes on.
using FileBytesSink = std::function<void(std::string_view bytes)>;
void WriteFileReplacing(const std::wstring& path,
                        const std::function<void(const FileBytesSink&)>& write);

} // namespace kv::html
