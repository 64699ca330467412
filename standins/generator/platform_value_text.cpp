#include "platform_value_text.h"

#include "com/com_support.h"
#include "com/variant_values.h"
#include "platform/com_owners.h"

#include <stdexcept>

using namespace kv;

namespace kvgen {

std::string PlatformValueText(const zk::Value& value) {
    kv::Variant variant;
    zk::com::VariantFromValue(value, variant.Get());
    if (V_VT(variant.Get()) == VT_EMPTY || V_VT(variant.Get()) == VT_NULL)
        return {};
    // The flags and locale a recording converts with.
    kv::Variant text;
    if (FAILED(VariantChangeType(text.Get(), variant.Get(), 0, VT_BSTR)))
        throw std::runtime_error("a property value of kind " +
                                 std::string(zk::ValueTypeName(value.type)) + " has no text form");
    return zk::com::Utf8(V_BSTR(text.Get()));
}

} // namespace kvgen
