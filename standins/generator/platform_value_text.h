// The text of a property value as a recording writes it on Windows: the kernel's VARIANT of the
// value converted by the platform's variant rules (the process locale's number and date forms).
#pragma once

#include "core/value.h"

#include <string>

namespace kvgen {

// UTF-8; empty and null give "". Raises std::runtime_error for a value with no text form.
std::string PlatformValueText(const zk::Value& value);

} // namespace kvgen
