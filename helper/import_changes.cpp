// Passes 5 and 6 of the import: what the user deleted or changed in the distribution structure
// is not applied; it is reported and, on request, marked in the server structure. The user's
// code of a changed function is always kept in the server's function as a comment.
#include "helper/import_passes.h"

#include "platform/guid_conversion.h"

#include <optional>

namespace kv::import {

namespace {

ComparedAttribute Compared(IZClassValue* cval) {
    ComparedAttribute compared;
    compared.name = AttributeName(cval);
    GUID data_type;
    check(cval->get_zrDataType(&data_type));
    compared.data_type = WideGuidText(data_type);
    compared.type = AttributeType(cval);
    compared.alias_name = WideText(cval, &IZClassValue::get_zrAliasName);
    compared.function_code = WideText(cval, &IZClassValue::get_zrFunctionCode);
    compared.measure_unit = WideText(cval, &IZClassValue::get_zrMeasureUnit);
    compared.measure_entity = WideText(cval, &IZClassValue::get_zrMeasureEntity);
    VARIANT_BOOL forbid = VARIANT_FALSE;
    check(cval->get_zrForbidInput(&forbid));
    compared.forbid_input = forbid != VARIANT_FALSE;
    LONG precision = 0;
    check(cval->get_zrPrecision(&precision));
    compared.precision = precision;
    return compared;
}

// Where a mark on a server attribute goes: the attribute itself, or for an inherited entry the
// attribute it is inherited from, with the name of the server class where it was found.
struct MarkPlace {
    ComPtr<IZClassValue> target;
    std::wstring inherited_in; // "" for an own attribute
};

MarkPlace MarkPlaceOf(IZClass* server_class, IZClassValue* server_attribute) {
    if (ComPtr<IZClassValue> source = InheritedFrom(server_attribute))
        return {source, ClassName(server_class)};
    return {server_attribute, {}};
}

void ScreenNamePrefix(const MarkPlace& place, std::wstring_view mark) {
    Prefix(place.target.Get(), &IZClassValue::get_zrScreenName, &IZClassValue::put_zrScreenName,
           place.inherited_in + std::wstring(mark));
}

void CodePrefix(const MarkPlace& place, std::wstring_view text) {
    Prefix(place.target.Get(), &IZClassValue::get_zrFunctionCode, &IZClassValue::put_zrFunctionCode,
           text);
}

void ReportDeletedAttribute(ImportStructures& import, IZClass* server_class,
                            IZClassValue* server_attribute) {
    import.report.DeletedAttribute(ClassName(server_class), AttributeName(server_attribute));
    if (!import.mark)
        return;
    const MarkPlace place = MarkPlaceOf(server_class, server_attribute);
    if (AttributeType(server_attribute) == kFunctionAttribute)
        CodePrefix(place, DeletedFunctionComment(place.inherited_in));
    else
        ScreenNamePrefix(place, kDeletedMark);
}

void ReportChangedAttribute(ImportStructures& import, IZClass* server_class, IZClass* user_class,
                            IZClassValue* server_attribute, IZClassValue* user_attribute,
                            IZClassValue* distribution_attribute) {
    const ComparedAttribute user = Compared(user_attribute);
    const std::wstring changes = ChangeList(user, Compared(distribution_attribute));
    if (changes.empty())
        return;
    import.report.ChangedAttribute(ClassName(user_class), user.name, changes);
    const std::wstring mark = ChangeMark(changes);
    const MarkPlace place = MarkPlaceOf(server_class, server_attribute);
    if (AttributeType(server_attribute) == kFunctionAttribute)
        CodePrefix(place, UserCodeBlock(mark + place.inherited_in, user.function_code));
    else if (import.mark)
        ScreenNamePrefix(place, mark);
}

void ReportClass(ImportStructures& import, LONG index) {
    const ComPtr<IZClass> distribution_class = ClassAt(import.distribution.Get(), index);
    const std::wstring name = ClassName(distribution_class.Get());
    const ComPtr<IZClass> server_class = LocateClass(import.server.Get(), name);
    if (!server_class)
        return;
    ComPtr<IZClass> user_class = LocateClass(import.user.Get(), name);
    if (!user_class) {
        GUID guid = ClassGuid(distribution_class.Get());
        check(import.user->zrLocateByGUID(&guid, &user_class));
    }
    if (!user_class) {
        if (import.mark)
            Prefix(server_class.Get(), &IZClass::get_zrScreenName, &IZClass::put_zrScreenName,
                   kDeletedMark);
        import.report.DeletedClass(ClassName(server_class.Get()));
        return;
    }
    const LONG count = AttributeCount(distribution_class.Get());
    for (LONG position = 0; position < count; ++position) {
        const ComPtr<IZClassValue> distribution_attribute =
            AttributeAt(distribution_class.Get(), position);
        const std::wstring attribute_name = AttributeName(distribution_attribute.Get());
        // An attribute the server no longer has is passed over, found by a failing lookup or
        // not at all, so that it cannot end the work on the attributes after it.
        const ComPtr<IZClassValue> server_attribute =
            FindAttribute(server_class.Get(), attribute_name);
        if (!server_attribute)
            continue;
        ComPtr<IZClassValue> user_attribute = FindAttribute(user_class.Get(), attribute_name);
        if (!user_attribute)
            user_attribute =
                AttributeWithGuid(user_class.Get(), AttributeGuid(distribution_attribute.Get()));
        if (!user_attribute) {
            ReportDeletedAttribute(import, server_class.Get(), server_attribute.Get());
            continue;
        }
        Guarded([&] {
            ReportChangedAttribute(import, server_class.Get(), user_class.Get(),
                                   server_attribute.Get(), user_attribute.Get(),
                                   distribution_attribute.Get());
        });
    }
}

// Names equal but for letter case, by the platform's rule (any alphabet).
bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The server filter re-created with the marker in front of its caption and its constraints
// as they were. A kernel whose lookup ignores case may know the filter only under another
// spelling: then the marker alone is the caption, and the filter keeps the server's spelling of
// its name where the list of names has one that differs only in case.
void MarkFilter(IZClassVector* server, const Bstr& filter, std::wstring_view marker) {
    LONG count = 0;
    check(Filters(server)->get_zrFiltersCount(&count));
    std::wstring caption(marker);
    std::optional<std::wstring> spelling; // the server's, when it is not the distribution's
    for (LONG index = 0; index < count; ++index) {
        Bstr name;
        check(Filters(server)->zrFilterName(index, name.Out()));
        if (name.View() == filter.View()) {
            Bstr old_caption;
            check(Filters(server)->zrFilterCaption(index, old_caption.Out()));
            caption += old_caption.View();
            spelling.reset();
            break;
        }
        if (!spelling && SameIgnoringCase(name.View(), filter.View()))
            spelling = name.View();
    }
    const Bstr server_name(spelling ? std::wstring_view(*spelling) : filter.View());
    const std::vector<std::wstring> constraints = Constraints(server, server_name.View());
    check(Filters(server)->zrRemoveFilter(server_name.Get()));
    check(Filters(server)->zrCreateFilterEx(server_name.Get(), Bstr(caption).Get()));
    for (const std::wstring& value : constraints)
        check(Filters(server)->zrAddConstraint(server_name.Get(), Bstr(value).Get()));
}

bool FilterExists(IZClassVector* classes, const Bstr& filter) {
    VARIANT_BOOL exists = VARIANT_FALSE;
    check(Filters(classes)->zrFilterExists(filter.Get(), &exists));
    return exists != VARIANT_FALSE;
}

} // namespace

void ReportDeletedAndChangedClasses(ImportStructures& import) {
    import.report.StartSection(ReportSection::DeletedAndChanged);
    const LONG count = ClassCount(import.distribution.Get());
    for (LONG index = 0; index < count; ++index)
        Guarded([&] { ReportClass(import, index); });
}

// No guard here: a failure ends the import before anything is stored.
void ReportDeletedAndChangedFilters(ImportStructures& import) {
    import.report.StartSection(ReportSection::DeletedFilters);
    LONG count = 0;
    check(Filters(import.distribution.Get())->get_zrFiltersCount(&count));
    for (LONG index = 0; index < count; ++index) {
        Bstr filter;
        check(Filters(import.distribution.Get())->zrFilterName(index, filter.Out()));
        std::wstring_view marker;
        if (!FilterExists(import.user.Get(), filter)) {
            marker = kDeletedMark;
            import.report.DeletedFilter(filter.View());
        } else {
            const std::wstring user_list =
                ConstraintList(Constraints(import.user.Get(), filter.View()));
            const std::wstring distribution_list =
                ConstraintList(Constraints(import.distribution.Get(), filter.View()));
            if (user_list != distribution_list) {
                marker = kChangedFilterMark;
                import.report.ChangedFilter(filter.View(), distribution_list, user_list);
            }
        }
        if (import.mark && !marker.empty() && FilterExists(import.server.Get(), filter))
            MarkFilter(import.server.Get(), filter, marker);
    }
}

} // namespace kv::import
