// The structure page: heading, the table of classes with their attributes, subordinates and
// parents linked inside the page, and the table of filters. Pure: no Windows header.
#pragma once

#include "export/structure_contents.h"

#include <string>
#include <vector>

namespace kv::html {

// The page as its ordered pieces (Windows-1251 text; a piece may hold line breaks itself).
std::vector<std::string> BuildStructurePage(const StructureContents& contents);

// The bytes of the page file: every piece followed by CR LF.
std::string PageFileText(const std::vector<std::string>& pieces);

} // namespace kv::html
