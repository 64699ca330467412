// Files read and written whole by programs that check structures outside a test (the soak run)
// as well as inside one: a file that cannot be read or written throws std::runtime_error naming
// it. Pure: no Windows header, no test framework.
#pragma once

#include <string>

namespace kvtest {

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

} // namespace kvtest
