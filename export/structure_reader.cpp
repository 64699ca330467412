#include "export/structure_reader.h"

#include "platform/barriers.h"
#include "kernel/kernel_lookups.h"
#include "kernel/kernel_reads.h"
#include "platform/com_owners.h"
#include "platform/guid_conversion.h"
#include "platform/ole_text.h"
#include "platform/text_conversion.h"

#include <wrl/client.h>

#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace kv::html {
namespace {

// The kernel's text as the page shows it, put into `text`, reusing its storage. Nearly every
// text is whole in the code page and converted at once; otherwise the runs that the code page
// has are converted one by one, and each other character (a surrogate pair as one) is noted
// where it stands.
void ModelTextInto(ModelText& text, std::wstring_view wide) {
    text.references.clear();
    if (AnsiInto(text.bytes, wide, Unrepresentable::Report))
        return;
    text.bytes.clear();
    std::string run;
    for (std::size_t at = 0; at < wide.size();) {
        std::size_t end = at;
        while (end < wide.size() && InAnsiCodePage(wide[end]))
            ++end;
        AnsiInto(run, wide.substr(at, end - at), Unrepresentable::Refuse);
        text.bytes += run;
        if (end == wide.size())
            break;
        std::uint32_t code_point = wide[end];
        at = end + 1;
        if (IS_HIGH_SURROGATE(wide[end]) && at < wide.size() && IS_LOW_SURROGATE(wide[at])) {
            code_point = 0x10000 + ((code_point - 0xD800) << 10) + (wide[at] - 0xDC00);
            ++at;
        } else if (IS_HIGH_SURROGATE(code_point) || IS_LOW_SURROGATE(code_point)) {
            code_point = 0xFFFD; // half a pair is no character; a page shows the replacement
        }
        text.references.push_back({text.bytes.size(), code_point});
    }
}

ModelText ModelTextOf(std::wstring_view wide) {
    ModelText text;
    ModelTextInto(text, wide);
    return text;
}

template <class Object, class Getter>
void ReadText(Object& object, Getter getter, ModelText& text) {
    Bstr value;
    check((object.*getter)(value.Out()));
    ModelTextInto(text, value.View());
}

template <class Object, class Getter> ModelText TextOf(Object& object, Getter getter) {
    ModelText text;
    ReadText(object, getter, text);
    return text;
}

// The attribute's properties into `entries`, whose strings are reused from the last class.
void ReadProperties(IZClassValue& attribute, std::vector<PropertyEntry>& entries) {
    ComPtr<IZProperties> properties;
    check(attribute.QueryInterface(IID_PPV_ARGS(&properties)));
    long count = 0;
    check(Required(properties, L"свойства атрибута")->get_zrCount(&count));
    entries.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
    for (long position = 0; position < count; ++position) {
        Bstr name;
        Variant value;
        check(properties->zrPropItem(position, name.Out(), value.Out()));
        ModelTextInto(entries[position].name, name.View());
        // Most values are texts already: read in place, without a copy.
        const VARIANT& held = *value.Get();
        if (V_VT(&held) == VT_BSTR)
            ModelTextInto(entries[position].value, {V_BSTR(&held), SysStringLen(V_BSTR(&held))});
        else
            ModelTextInto(entries[position].value, kv::VariantText(held));
    }
}

void ReadAttribute(IZClassValue& attribute, AttributeEntry& entry) {
    ReadText(attribute, &IZClassValue::get_zrName, entry.name);
    long kind = 0;
    check(attribute.get_zrType(&kind));
    entry.kind = static_cast<std::int32_t>(kind);
    GUID data_type = GUID_NULL;
    check(attribute.get_zrDataType(&data_type));
    kv::GuidTextInto(entry.data_type, data_type);
    ReadText(attribute, &IZClassValue::get_zrScreenName, entry.screen_name);
    ReadProperties(attribute, entry.properties);
}

// The class's names and how many attribute entries it has.
ClassEntry ReadClassOutline(IZClass& cls, long& attribute_count) {
    ClassEntry entry;
    entry.name = TextOf(cls, &IZClass::get_zrName);
    entry.screen_name = TextOf(cls, &IZClass::get_zrScreenName);
    attribute_count = AttributeCount(&cls);
    return entry;
}

// The names of the class's children by position; absent children are left out.
std::vector<ModelText> ReadChildNames(IZClass& cls) {
    long count = 0;
    check(cls.get_zrChildClassesCount(&count));
    std::vector<ModelText> names;
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
        entry.caption = ModelTextOf(caption.View());
        Bstr name;
        check(filters.zrFilterName(position, name.Out()));
        entry.name = ModelTextOf(name.View());
        long constraints = 0;
        check(filters.zrConstraintsCount(name.Get(), &constraints));
        for (long item = 0; item < constraints; ++item) {
            Bstr constraint;
            check(filters.zrConstraintItem(name.Get(), item, constraint.Out()));
            entry.constraints.push_back(ModelTextOf(constraint.View()));
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace

StructureReader::StructureReader(IZModel& model) {
    const ComPtr<IZClassVector> class_vector = ClassVectorOf(&model);
    IZClassVector& classes = *class_vector.Get();
    outline_.model_name = TextOf(model, &IZModel::get_zrModelName);

    const long class_count = ClassCount(&classes);
    ComPtr<IZFilterVector> filter_vector;
    check(class_vector.As(&filter_vector));
    long filter_count = 0;
    check(Required(filter_vector, L"список фильтров")->get_zrFiltersCount(&filter_count));
    outline_.class_count = static_cast<std::int32_t>(class_count);
    outline_.filter_count = static_cast<std::int32_t>(filter_count);

    const std::size_t classes_expected =
        class_count > 0 ? static_cast<std::size_t>(class_count) : 0;
    outline_.classes.reserve(classes_expected);
    classes_.reserve(classes_expected);
    bool any_attributes = false;
    for (long position = 0; position < class_count; ++position) {
        ComPtr<IZClass> cls = ClassAt(&classes, position);
        long attribute_count = 0;
        outline_.classes.push_back(ReadClassOutline(*cls.Get(), attribute_count));
        any_attributes = any_attributes || attribute_count > 0;
        classes_.push_back({std::move(cls), attribute_count});
    }
    // Links are shown only beside attributes: a structure without any needs none of them.
    if (any_attributes) {
        for (std::size_t position = 0; position < classes_.size(); ++position)
            outline_.classes[position].children = ReadChildNames(*classes_[position].object.Get());
    }

    outline_.filters = ReadFilters(*filter_vector.Get(), filter_count);
}

const std::vector<AttributeEntry>& StructureReader::AttributesOf(std::size_t position) {
    IZClass& cls = *classes_.at(position).object.Get();
    const long count = classes_[position].attribute_count;
    // The entries of the last class are overwritten, so that their storage serves again.
    attributes_.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
    for (long item = 0; item < count; ++item) {
        const ComPtr<IZClassValue> attribute = AttributeAt(&cls, item);
        ReadAttribute(*attribute.Get(), attributes_[item]);
    }
    return attributes_;
}

} // namespace kv::html
