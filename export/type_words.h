// The type cell of an attribute: a prefix for its kind followed directly by the word for its
// data type. Pure: no Windows header.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv::html {

// kind is the attribute's zrType; data_type its zrDataType in registry form
// ("{XXXXXXXX-...}", upper-case digits). An unknown kind or data type adds nothing.
std::string AttributeTypeWords(std::int32_t kind, std::string_view data_type);

} // namespace kv::html
