// The structure page: heading, the table of classes with their attributes, subordinates and
// parents linked inside the page, and the table of filters. Pure: no Windows header.
#pragma once

#include "export/structure_contents.h"

#include <string>

namespace kv::html {

// The bytes of the page file: its ordered pieces (Windows-1251 text; a piece may hold line
// breaks itself), every piece followed by CR LF.
std::string StructurePageText(const StructureContents& contents);

} // namespace kv::html
