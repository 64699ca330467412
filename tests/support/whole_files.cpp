#include "support/whole_files.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kvtest {

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    file.flush();
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

} // namespace kvtest
