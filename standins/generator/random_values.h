// Property values of every kind and the fields of attributes, drawn for random structures.
#pragma once

#include "core/structure.h"
#include "dice.h"

#include <vector>

namespace kvgen {

// A value of a drawn kind: texts (with quotes, "%", Cyrillic and line breaks), integers of
// every width, reals, currency, dates, booleans, empty and null. Reals are exact binary
// fractions, so no floating-point arithmetic can make the two builds differ.
zk::Value RandomValue(Dice& dice);

// Every field of an attribute but its name and identifier; data types come from the pool, as
// attributes share a few data types in a real structure.
void FillAttribute(Dice& dice, const std::vector<zk::Guid>& data_types, int max_properties,
                   zk::AttributeData& data);

} // namespace kvgen
