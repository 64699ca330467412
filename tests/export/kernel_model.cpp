#include "kernel_model.h"

#include "support/stand_in_model.h"

#include <variant>

using Microsoft::WRL::ComPtr;

namespace export_test {
namespace {

using kvtest::Check;
using kvtest::SetText;
using kvtest::StandInModel;

void AddAttribute(StandInModel& model, IZClass* cls, const AttributeSpec& spec) {
    ComPtr<IZClassValue> attribute = model.AddAttribute(cls, WideFromUtf8(spec.name));
    Check(attribute->put_zrType(spec.kind), "put_zrType");
    GUID data_type = kvtest::GuidFromText(WideFromUtf8(spec.data_type).c_str());
    Check(attribute->put_zrDataType(&data_type), "put_zrDataType");
    SetText(attribute.Get(), &IZClassValue::put_zrScreenName, WideFromUtf8(spec.screen_name));
    for (const PropertySpec& property : spec.properties) {
        const std::wstring name = WideFromUtf8(property.name);
        if (std::holds_alternative<int>(property.value))
            StandInModel::AddProperty(attribute.Get(), name, std::get<int>(property.value));
        else
            StandInModel::AddProperty(attribute.Get(), name,
                                      WideFromUtf8(std::get<std::string>(property.value)));
    }
}

} // namespace

ComPtr<IZModel> BuildModel(const StructureSpec& spec) {
    if (!StandInModel::Registered())
        return nullptr;
    StandInModel model;
    model.SetModelName(WideFromUtf8(spec.model_name));
    for (const ClassSpec& class_spec : spec.classes) {
        ComPtr<IZClass> cls = model.AddClass(WideFromUtf8(class_spec.name));
        SetText(cls.Get(), &IZClass::put_zrScreenName, WideFromUtf8(class_spec.screen_name));
        for (const AttributeSpec& attribute : class_spec.attributes)
            AddAttribute(model, cls.Get(), attribute);
    }
    for (const LinkSpec& link : spec.links)
        model.AddLink(WideFromUtf8(link.parent), WideFromUtf8(link.child));
    for (const FilterSpec& filter : spec.filters) {
        const std::wstring name = WideFromUtf8(filter.name);
        model.AddFilter(name.c_str(), WideFromUtf8(filter.caption).c_str());
        for (const std::string& constraint : filter.constraints)
            model.AddConstraint(name.c_str(), WideFromUtf8(constraint).c_str());
    }
    return model.Model();
}

} // namespace export_test
