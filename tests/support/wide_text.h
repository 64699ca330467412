// The tests' own texts and paths between the ANSI code page (1251 under the tests' locale), UTF-8
// and wide strings, and long paths in their extended-length form for the tests' own file calls.
#pragma once

#include <string>

namespace kvtest {

std::wstring Widen(const std::string& ansi);
// In the ANSI code page unless another is named (cscript writes to a pipe in the OEM one).
std::string Narrow(const std::wstring& wide, unsigned code_page = 0 /* CP_ACP */);
std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);

// A path past MAX_PATH as \\?\path, which has no length limit; a shorter one, or one in that
// form already, as it is.
std::wstring Extended(const std::wstring& path);

} // namespace kvtest
