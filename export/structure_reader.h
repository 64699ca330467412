// Reads everything the structure page shows from the model kernel. Every failing kernel call
// raises a LibraryError (check); the model is only read.
#pragma once

#include "export/structure_contents.h"

#include <zkernel.h>

namespace kv::html {

StructureContents ReadStructure(IZModel& model);

} // namespace kv::html
