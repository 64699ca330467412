// The floors of the benchmark: walks that read kernel values through the same interfaces as the
// operations do and write nothing. A value is taken as the library takes it (texts, identifiers
// and property values as ANSI text, converted by the library's own functions), where the
// operation's output needs it, but only once there; links are read once, as each class's
// children, and a class's parents are found from them.
#pragma once

#include <zkernel.h>

namespace kvbench {

// A whole recording's values, in the shape of the export calls: per class the values of its
// fragment (fields, own attributes with their fields and properties, rights of every group,
// children and parents), per filter, module and group the values of its section.
void WalkRecordedValues(IZModel* model);

// Every value the structure page shows.
void WalkPageValues(IZModel* model);

// Every value of the structure once: classes and attribute entries with every field, the
// properties, links, rights of every group, filters with constraints, modules and groups.
void WalkStructure(IZModel* model);

} // namespace kvbench
