// Property values between automation VARIANTs and the core's tagged values. Every kind a
// script produces is kept with its kind; objects and arrays are refused.
#pragma once

#include "core/value.h"

#include <oaidl.h>

namespace zk::com {

Value ValueFromVariant(const VARIANT& variant);
// Fills an initialised (empty) VARIANT.
void VariantFromValue(const Value& value, VARIANT* variant);

} // namespace zk::com
