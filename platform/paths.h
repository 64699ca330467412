// Paths as the platform takes them: full paths, the extended-length form past the classic
// limit, environment references, the temporary and documents folders, and 8-bit forms for
// callers that take ANSI paths.
#pragma once

#include <windows.h>

#include <string>

namespace kv {

// The absolute, normalised form of the path, at any length. Raises a LibraryError naming the
// path when the platform cannot make it.
std::wstring FullPath(const std::wstring& path);

// The path as file functions take it at any length. The full path's length decides: past the
// classic limit (with room for a folder's 8.3 entry) the full path in the extended-length form
// ("\\?\", "\\?\UNC\"), otherwise the path as given. A path already in that form stays.
std::wstring ExtendedPath(const std::wstring& path);

// ExtendedPath for callers that report a failed write as a system error code: 0 with the path in
// `extended`, or the code that stands for the path the platform cannot make whole.
DWORD ExtendedPathOrError(const std::wstring& path, std::wstring& extended);

// The text with its %NAME% references expanded, at full length.
std::wstring ExpandEnvironment(const std::wstring& text);

// The user's temporary folder with a trailing backslash, at full length.
std::wstring TemporaryFolder();

// The user's documents folder (the shell's personal folder, created when missing), asked with
// the owner window, with a trailing backslash; "" when the shell cannot give it.
std::wstring DocumentsFolder(HWND owner);

// The path in the process ANSI code page for callers that take 8-bit paths. When the code page
// cannot represent it, the platform's short form of the existing file or folder is used; when
// even that fails, it raises.
std::string AnsiPath(const std::wstring& path);

} // namespace kv
