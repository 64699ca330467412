// The structure page: heading, the table of classes with their attributes, subordinates and
// parents linked inside the page, and the table of filters. Pure: no Windows header.
#pragma once

#include "export/structure_contents.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kv::html {

// The bytes of the page file: its ordered pieces (Windows-1251 text; a piece may hold line
// breaks itself), every piece followed by CR LF.
std::string StructurePageText(const StructureContents& contents);

// The same bytes handed to `take` in consecutive parts of about `pieceSize` bytes, so that a
// large page is never held whole; the attributes of each class come from `attributesOf` when
// the page reaches the class (the contents' own are not used), so that they need not all be
// held either. An exception from either function ends the page there.
using PagePieceSink = std::function<void(std::string_view bytes)>;
using ClassAttributes = std::function<const std::vector<AttributeEntry>&(std::size_t position)>;
void ForEachStructurePagePiece(const StructureContents& contents,
                               const ClassAttributes& attributesOf, std::size_t pieceSize,
                               const PagePieceSink& take);

} // namespace kv::html
