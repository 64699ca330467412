// A complete, readable description of a structure, read through the structure's public
// operations only (never through the file writer), so two structures compare as texts and a
// failing comparison shows what differs.
#pragma once

#include "core/structure.h"

#include <string>

namespace zk::testing {

std::string Describe(const Structure& structure);
// The attribute list of one class: names, an inherited entry followed by "^".
std::string AttributeList(const Structure& structure, std::string_view class_name);

} // namespace zk::testing
