#include "kernel_model.h"

#include <gtest/gtest.h>

#include <oleauto.h>

using Microsoft::WRL::ComPtr;

namespace export_test {
namespace {

// A BSTR for one call.
class Text {
public:
    explicit Text(const std::string& utf8) : value_(SysAllocString(WideFromUtf8(utf8).c_str())) {}
    ~Text() { SysFreeString(value_); }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    operator BSTR() const { return value_; }

private:
    BSTR value_;
};

void AddProperty(IZClassValue* attribute, const PropertySpec& property) {
    ComPtr<IZProperties> properties;
    ASSERT_EQ(attribute->QueryInterface(IID_PPV_ARGS(&properties)), S_OK);
    VARIANT value;
    VariantInit(&value);
    if (std::holds_alternative<int>(property.value)) {
        V_VT(&value) = VT_I4;
        V_I4(&value) = std::get<int>(property.value);
    } else {
        V_VT(&value) = VT_BSTR;
        V_BSTR(&value) =
            SysAllocString(WideFromUtf8(std::get<std::string>(property.value)).c_str());
    }
    EXPECT_EQ(properties->zrAddProp(Text(property.name), value), S_OK);
    VariantClear(&value);
}

void AddAttribute(IZClass* cls, const AttributeSpec& spec) {
    ComPtr<IZClassValue> attribute;
    ASSERT_EQ(cls->zrAddClassValue(Text(spec.name), &attribute), S_OK);
    ASSERT_TRUE(attribute);
    EXPECT_EQ(attribute->put_zrType(spec.kind), S_OK);
    GUID data_type{};
    ASSERT_EQ(CLSIDFromString(WideFromUtf8(spec.data_type).c_str(), &data_type), S_OK);
    EXPECT_EQ(attribute->put_zrDataType(&data_type), S_OK);
    EXPECT_EQ(attribute->put_zrScreenName(Text(spec.screen_name)), S_OK);
    for (const PropertySpec& property : spec.properties)
        AddProperty(attribute.Get(), property);
}

void BuildInto(IZModel* model, const StructureSpec& spec) {
    ComPtr<IZModelAdmin> admin;
    ASSERT_EQ(model->QueryInterface(IID_PPV_ARGS(&admin)), S_OK);
    ASSERT_EQ(admin->put_zrModelName(Text(spec.model_name)), S_OK);
    ComPtr<IZClassVector> classes;
    ASSERT_EQ(model->zrGetClassVector(&classes), S_OK);
    for (const ClassSpec& class_spec : spec.classes) {
        ComPtr<IZClass> cls;
        ASSERT_EQ(classes->zrAdd(Text(class_spec.name), &cls), S_OK);
        ASSERT_TRUE(cls);
        EXPECT_EQ(cls->put_zrScreenName(Text(class_spec.screen_name)), S_OK);
        for (const AttributeSpec& attribute : class_spec.attributes)
            AddAttribute(cls.Get(), attribute);
    }
    for (const LinkSpec& link : spec.links) {
        ComPtr<IZClass> parent;
        ASSERT_EQ(classes->zrLocate(Text(link.parent), &parent), S_OK);
        ASSERT_TRUE(parent) << link.parent;
        EXPECT_EQ(parent->zrAddChildClass(Text(link.child)), S_OK) << link.child;
    }
    ComPtr<IZFilterVector> filters;
    ASSERT_EQ(classes.As(&filters), S_OK);
    for (const FilterSpec& filter : spec.filters) {
        EXPECT_EQ(filters->zrCreateFilterEx(Text(filter.name), Text(filter.caption)), S_OK);
        for (const std::string& constraint : filter.constraints)
            EXPECT_EQ(filters->zrAddConstraint(Text(filter.name), Text(constraint)), S_OK);
    }
}

} // namespace

ComPtr<IZModel> BuildModel(const StructureSpec& spec) {
    ComPtr<IZModel> model;
    if (FAILED(CoCreateInstance(CLSID_ZModel, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&model))))
        return nullptr;
    BuildInto(model.Get(), spec);
    return model;
}

std::wstring WideFromUtf8(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
    return wide;
}

std::string AnsiFromWide(const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length,
                        nullptr, nullptr);
    return ansi;
}

} // namespace export_test
