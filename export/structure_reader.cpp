#include "export/structure_reader.h"

#include "common/com_owners.h"
#include "common/export_barrier.h"
#include "recording/kernel_text.h"

#include <wrl/client.h>

#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace kv::html {
namespace {

// A kernel call that succeeded but returned no object where one must be.
template <class Interface> Interface& Required(const ComPtr<Interface>& object) {
    if (!object)
        throw LibraryError(E_POINTER, L"Ядро модели не вернуло объект");
    return *object.Get();
}

// A text property of a kernel object, in the ANSI code page (the page only shows it).
template <class Object, class Getter> std::string TextOf(Object& object, Getter getter) {
    Bstr text;
    check((object.*getter)(text.Out()));
    return kv::ShownAnsiFromBstr(text.Get());
}

std::vector<PropertyEntry> ReadProperties(IZClassValue& attribute) {
    ComPtr<IZProperties> properties;
    check(attribute.QueryInterface(IID_PPV_ARGS(&properties)));
    long count = 0;
    check(Required(properties).get_zrCount(&count));
    std::vector<PropertyEntry> entries;
    entries.reserve(count > 0 ? static_cast<std::size_t>(count) : 0);
    for (long position = 0; position < count; ++position) {
        Bstr name;
        Variant value;
        check(properties->zrPropItem(position, name.Out(), value.Out()));
        entries.push_back({kv::ShownAnsiFromBstr(name.Get()), kv::ShownVariantText(*value.Get())});
    }
    return entries;
}

AttributeEntry ReadAttribute(IZClassValue& attribute) {
    AttributeEntry entry;
    entry.name = TextOf(attribute, &IZClassValue::get_zrName);
    long kind = 0;
    check(attribute.get_zrType(&kind));
    entry.kind = static_cast<std::int32_t>(kind);
    GUID data_type = GUID_NULL;
    check(attribute.get_zrDataType(&data_type));
    entry.data_type = kv::GuidText(data_type);
    entry.screen_name = TextOf(attribute, &IZClassValue::get_zrScreenName);
    entry.properties = ReadProperties(attribute);
    return entry;
}

ClassEntry ReadClass(IZClass& cls) {
    ClassEntry entry;
    entry.name = TextOf(cls, &IZClass::get_zrName);
    entry.screen_name = TextOf(cls, &IZClass::get_zrScreenName);
    long count = 0;
    check(cls.get_zrClassValuesCount(&count));
    entry.attributes.reserve(count > 0 ? static_cast<std::size_t>(count) : 0);
    for (long position = 0; position < count; ++position) {
        ComPtr<IZClassValue> attribute;
        check(cls.zriClassValueItem(position, &attribute));
        entry.attributes.push_back(ReadAttribute(Required(attribute)));
    }
    return entry;
}

// The names of the class's children by position; absent children are left out.
std::vector<std::string> ReadChildNames(IZClass& cls) {
    long count = 0;
    check(cls.get_zrChildClassesCount(&count));
    std::vector<std::string> names;
    for (long position = 0; position < count; ++position) {
        ComPtr<IZClass> child;
        check(cls.zriChildClassItem(position, &child));
        if (child)
            names.push_back(TextOf(*child.Get(), &IZClass::get_zrName));
    }
    return names;
}

std::vector<FilterEntry> ReadFilters(IZFilterVector& filters, long count) {
    std::vector<FilterEntry> entries;
    for (long position = 0; position < count; ++position) {
        FilterEntry entry;
        Bstr caption;
        check(filters.zrFilterCaption(position, caption.Out()));
        entry.caption = kv::ShownAnsiFromBstr(caption.Get());
        Bstr name;
        check(filters.zrFilterName(position, name.Out()));
        entry.name = kv::ShownAnsiFromBstr(name.Get());
        long constraints = 0;
        check(filters.zrConstraintsCount(name.Get(), &constraints));
        for (long item = 0; item < constraints; ++item) {
            Bstr constraint;
            check(filters.zrConstraintItem(name.Get(), item, constraint.Out()));
            entry.constraints.push_back(kv::ShownAnsiFromBstr(constraint.Get()));
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace

StructureContents ReadStructure(IZModel& model) {
    StructureContents contents;
    ComPtr<IZClassVector> class_vector;
    check(model.zrGetClassVector(&class_vector));
    IZClassVector& classes = Required(class_vector);
    contents.model_name = TextOf(model, &IZModel::get_zrModelName);

    long class_count = 0;
    check(classes.get_zrCount(&class_count));
    ComPtr<IZFilterVector> filter_vector;
    check(class_vector.As(&filter_vector));
    long filter_count = 0;
    check(Required(filter_vector).get_zrFiltersCount(&filter_count));
    contents.class_count = static_cast<std::int32_t>(class_count);
    contents.filter_count = static_cast<std::int32_t>(filter_count);

    std::vector<ComPtr<IZClass>> class_objects;
    const std::size_t classes_expected =
        class_count > 0 ? static_cast<std::size_t>(class_count) : 0;
    contents.classes.reserve(classes_expected);
    class_objects.reserve(classes_expected);
    bool any_attributes = false;
    for (long position = 0; position < class_count; ++position) {
        ComPtr<IZClass> cls;
        check(classes.zrItem(position, &cls));
        contents.classes.push_back(ReadClass(Required(cls)));
        any_attributes = any_attributes || !contents.classes.back().attributes.empty();
        class_objects.push_back(std::move(cls));
    }
    // Links are shown only beside attributes: a structure without any needs none of them.
    if (any_attributes) {
        for (std::size_t position = 0; position < class_objects.size(); ++position)
            contents.classes[position].children = ReadChildNames(*class_objects[position].Get());
    }

    contents.filters = ReadFilters(*filter_vector.Get(), filter_count);
    return contents;
}

} // namespace kv::html
