// Enumerators of the class vector's connection point and of its connections: snapshots taken
// when they are made, each element handed out with its own reference.
#pragma once

#include "com/com_support.h"

#include <ocidl.h>

#include <vector>

namespace zk::com {

// One connection point.
ComPtr<IEnumConnectionPoints> EnumerateConnectionPoints(IConnectionPoint* point);
// The given connections (cookie and sink).
ComPtr<IEnumConnections> EnumerateConnections(const std::vector<CONNECTDATA>& connections);

} // namespace zk::com
