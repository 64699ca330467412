#include "comparison/difference_reads.h"

#include "platform/scenario_text.h"

#include "kernel/kernel_reads.h"
#include "platform/barriers.h"
#include "platform/ole_text.h"

#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace kv {
namespace {

ComPtr<IZProperties> PropertiesOf(IZClassValue* cval) {
    ComPtr<IZProperties> props;
    check(cval->get_zrProperties(&props));
    return Required(std::move(props), L"zrProperties");
}

bool HoldsNothing(const VARIANT& value) {
    if (V_VT(&value) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(&value))
        return HoldsNothing(*V_VARIANTREF(&value));
    return V_VT(&value) == VT_EMPTY;
}

// The names of a property list, read once when a value lookup cannot tell a missing property
// from one that holds no value.
class PropertyNames {
public:
    explicit PropertyNames(IZProperties* props) : props_(props) {}

    bool Contains(std::wstring_view name) {
        if (!names_) {
            names_.emplace();
            ForEachProperty(props_, [this](const Bstr& itemName, const VARIANT&) {
                names_->emplace(itemName.View());
            });
        }
        return names_->contains(std::wstring(name));
    }

private:
    IZProperties* props_;
    std::optional<std::unordered_set<std::wstring>> names_;
};

} // namespace

std::vector<PairedClass> ReadClasses(IZClassVector* vector) {
    LONG count = 0;
    check(vector->get_zrCount(&count));
    std::vector<PairedClass> classes(static_cast<std::size_t>(count > 0 ? count : 0));
    for (LONG i = 0; i < count; ++i) {
        PairedClass& entry = classes[static_cast<std::size_t>(i)];
        check(vector->zrItem(i, &entry.cls));
        entry.cls = Required(std::move(entry.cls), L"zrItem");
        check(entry.cls->get_zrName(entry.wideName.Out()));
        entry.name = ScenarioName(entry.wideName.View());
    }
    return classes;
}

void PairClasses(std::vector<PairedClass>& first, std::vector<PairedClass>& second) {
    // The views point into the BSTRs, which stay where they are while the lists live.
    std::unordered_map<std::wstring_view, PairedClass*> byName;
    byName.reserve(second.size());
    for (PairedClass& entry : second)
        byName.emplace(entry.wideName.View(), &entry);
    for (PairedClass& entry : first) {
        auto found = byName.find(entry.wideName.View());
        if (found == byName.end())
            continue;
        entry.partner = found->second;
        found->second->partner = &entry;
    }
}

AttributeParameters ReadAttributeParameters(IZClassValue* cval) {
    AttributeParameters parameters;
    LONG type = 0;
    check(cval->get_zrType(&type));
    parameters.type = static_cast<std::int32_t>(type);
    GUID dataType = {};
    check(cval->get_zrDataType(&dataType));
    static_assert(sizeof(dataType) == sizeof(parameters.dataType));
    std::memcpy(parameters.dataType.data(), &dataType, sizeof(dataType));
    parameters.functionCode = KernelText(cval, &IZClassValue::get_zrFunctionCode);
    parameters.blocked = KernelBool(cval, &IZClassValue::get_zrBlocked);
    parameters.measureUnit = KernelText(cval, &IZClassValue::get_zrMeasureUnit);
    parameters.measureEntity = KernelText(cval, &IZClassValue::get_zrMeasureEntity);
    parameters.forbidInput = KernelBool(cval, &IZClassValue::get_zrForbidInput);
    return parameters;
}

ScriptItems PropertyDifferences(IZClassValue* target, IZClassValue* current) {
    const ComPtr<IZProperties> targetProps = PropertiesOf(target);
    const ComPtr<IZProperties> currentProps = PropertiesOf(current);
    PropertyNames currentNames(currentProps.Get());
    ScriptItems statements;
    ForEachProperty(targetProps.Get(), [&](const Bstr& name, const VARIANT& value) {
        Variant other;
        check(currentProps->zrPropValue(name.Get(), other.Out()));
        PropertyText currentText;
        if (!HoldsNothing(*other.Get()) || currentNames.Contains(name.View()))
            currentText = VariantText(*other.Get());
        const std::wstring targetText = VariantText(value);
        if (!SamePropertyValue(targetText, currentText))
            statements.push_back(
                PropertyStatement(ScenarioName(name.View()), ScenarioName(targetText)));
    });
    return statements;
}

} // namespace kv
