// Passes 1 to 4 of the import: what the user's structure has and the distribution structure
// lacks is created in the server structure and listed in the report.
#include "helper/import_passes.h"

namespace kv::import {

namespace {

// A class of the user's structure with its own identity and its base class's (null without
// base). The user's structure is only read, so the tree is read once.
struct UserClass {
    ComPtr<IZClass> cls;
    ComPtr<IUnknown> identity;
    ComPtr<IUnknown> base;
};

ComPtr<IUnknown> IdentityOf(IZClass* cls) {
    ComPtr<IUnknown> identity;
    if (cls)
        check(cls->QueryInterface(IID_PPV_ARGS(&identity)));
    return identity;
}

std::vector<UserClass> ReadUserClasses(IZClassVector* user) {
    std::vector<UserClass> classes;
    const LONG count = ClassCount(user);
    for (LONG index = 0; index < count; ++index) {
        UserClass entry;
        entry.cls = ClassAt(user, index);
        entry.identity = IdentityOf(entry.cls.Get());
        ComPtr<IZClass> base;
        check(entry.cls->get_zrBaseClass(&base));
        entry.base = IdentityOf(base.Get());
        classes.push_back(std::move(entry));
    }
    return classes;
}

void CreateUserClass(ImportStructures& import, IZClass* user_class, std::wstring_view name) {
    const std::wstring free_name = FirstFreeName(name, [&](const std::wstring& candidate) {
        return FindClass(import.server.Get(), candidate) != nullptr;
    });
    ComPtr<IZClass> created;
    check(import.server->zrAdd(Bstr(free_name).Get(), &created));
    if (!created)
        throw LibraryError(E_POINTER, L"Ядро модели не создало класс " + free_name);
    check(created->zrAssign(user_class, 0, -1));
    if (import.mark)
        Prefix(created.Get(), &IZClass::get_zrScreenName, &IZClass::put_zrScreenName, kAddedMark);
    // The base is looked up by name, so a numbered ancestor's descendants get the server class
    // of the unnumbered name.
    Guarded([&] {
        ComPtr<IZClass> base;
        check(user_class->get_zrBaseClass(&base));
        if (!base)
            return;
        if (ComPtr<IZClass> server_base = LocateClass(import.server.Get(), ClassName(base.Get())))
            check(created->put_zrBaseClass(server_base.Get()));
    });
    import.report.AddedClass(ClassName(created.Get()));
}

void CreateUserAttribute(ImportStructures& import, IZClass* server_class, IZClassValue* attribute) {
    const std::wstring free_name =
        FirstFreeName(AttributeName(attribute), [&](const std::wstring& candidate) {
            return FindAttribute(server_class, candidate) != nullptr;
        });
    ComPtr<IZClassValue> created;
    check(server_class->zrAddClassValue(Bstr(free_name).Get(), &created));
    if (!created)
        throw LibraryError(E_POINTER, L"Ядро модели не создало атрибут " + free_name);
    check(created->zrAssign(attribute, 0, -1));
    if (import.mark) {
        if (AttributeType(created.Get()) == kFunctionAttribute)
            Prefix(created.Get(), &IZClassValue::get_zrFunctionCode,
                   &IZClassValue::put_zrFunctionCode, kAddedFunctionComment);
        else
            Prefix(created.Get(), &IZClassValue::get_zrScreenName, &IZClassValue::put_zrScreenName,
                   kAddedMark);
    }
    import.report.AddedAttribute(ClassName(server_class), AttributeName(created.Get()));
}

// The own attributes that the user added to a class of the distribution structure, created in
// the server class of the user's name.
void ImportUserAttributes(ImportStructures& import, IZClass* user_class,
                          IZClass* distribution_class, std::wstring_view name) {
    const ComPtr<IZClass> server_class = LocateClass(import.server.Get(), name);
    if (!server_class)
        return;
    const LONG count = AttributeCount(user_class);
    for (LONG index = 0; index < count; ++index) {
        const ComPtr<IZClassValue> attribute = AttributeAt(user_class, index);
        if (InheritedFrom(attribute.Get()))
            continue;
        if (FindAttribute(distribution_class, AttributeName(attribute.Get())) ||
            AttributeWithGuid(distribution_class, AttributeGuid(attribute.Get())))
            continue;
        Guarded([&] { CreateUserAttribute(import, server_class.Get(), attribute.Get()); });
    }
}

void ImportUserClass(ImportStructures& import, IZClass* user_class) {
    const std::wstring name = ClassName(user_class);
    ComPtr<IZClass> distribution_class = FindClass(import.distribution.Get(), name);
    if (!distribution_class)
        distribution_class = FindClassByGuid(import.distribution.Get(), ClassGuid(user_class));
    if (!distribution_class)
        Guarded([&] { CreateUserClass(import, user_class, name); });
    else
        Guarded([&] { ImportUserAttributes(import, user_class, distribution_class.Get(), name); });
}

// Ancestors before descendants: the classes whose base is `parent`, each followed by its own
// descendants.
void ImportClassTree(ImportStructures& import, const std::vector<UserClass>& classes,
                     IUnknown* parent) {
    for (const UserClass& entry : classes) {
        if (entry.base.Get() != parent)
            continue;
        ImportUserClass(import, entry.cls.Get());
        ImportClassTree(import, classes, entry.identity.Get());
    }
}

} // namespace

void ImportAddedClasses(ImportStructures& import) {
    import.report.StartSection(ReportSection::AddedClasses);
    ImportClassTree(import, ReadUserClasses(import.user.Get()), nullptr);
}

void ImportAddedLinks(ImportStructures& import) {
    import.report.StartSection(ReportSection::AddedLinks);
    const LONG count = ClassCount(import.user.Get());
    for (LONG index = 0; index < count; ++index) {
        const ComPtr<IZClass> user_class = ClassAt(import.user.Get(), index);
        ComPtr<IZClass> server_class, distribution_class;
        // A class whose lookups failed is left alone rather than taken for one the user made.
        if (!Guarded([&] {
                const std::wstring name = ClassName(user_class.Get());
                server_class = LocateClass(import.server.Get(), name);
                distribution_class = LocateClass(import.distribution.Get(), name);
            }) ||
            !server_class)
            continue;
        LONG children = 0;
        check(user_class->get_zrChildClassesCount(&children));
        for (LONG position = 0; position < children; ++position) {
            Guarded([&] {
                ComPtr<IZClass> child;
                check(user_class->zriChildClassItem(position, &child));
                if (!child)
                    throw LibraryError(E_POINTER, L"Ядро модели не вернуло дочерний класс");
                const std::wstring child_name = ClassName(child.Get());
                if (distribution_class) {
                    ComPtr<IZClass> known;
                    Guarded([&] {
                        check(
                            distribution_class->zrnChildClassItem(Bstr(child_name).Get(), &known));
                    });
                    if (known)
                        return;
                }
                check(server_class->zrAddChildClass(Bstr(child_name).Get()));
                import.report.AddedLink(ClassName(server_class.Get()), child_name,
                                        !distribution_class);
            });
        }
    }
}

void ImportAddedFilters(ImportStructures& import) {
    import.report.StartSection(ReportSection::AddedFilters);
    IZClassVector* const user = import.user.Get();
    LONG count = 0;
    check(Filters(user)->get_zrFiltersCount(&count));
    for (LONG index = 0; index < count; ++index) {
        Bstr filter;
        check(Filters(user)->zrFilterName(index, filter.Out()));
        VARIANT_BOOL known = VARIANT_FALSE;
        check(Filters(import.distribution.Get())->zrFilterExists(filter.Get(), &known));
        if (!known) {
            Guarded([&] {
                Bstr caption;
                check(Filters(user)->zrFilterCaption(index, caption.Out()));
                const std::wstring marked =
                    (import.mark ? std::wstring(kAddedMark) : L"") + std::wstring(caption.View());
                check(Filters(import.server.Get())
                          ->zrCreateFilterEx(filter.Get(), Bstr(marked).Get()));
                for (const std::wstring& value : Constraints(user, filter.View()))
                    check(Filters(import.server.Get())
                              ->zrAddConstraint(filter.Get(), Bstr(value).Get()));
                import.report.AddedFilter(filter.View());
            });
            continue;
        }
        Guarded([&] {
            for (const std::wstring& value : Constraints(user, filter.View())) {
                const Bstr constraint(value);
                VARIANT_BOOL exists = VARIANT_FALSE;
                check(Filters(import.distribution.Get())
                          ->zrConstraintExists(filter.Get(), constraint.Get(), &exists));
                if (exists)
                    continue;
                check(
                    Filters(import.server.Get())->zrAddConstraint(filter.Get(), constraint.Get()));
                import.report.AddedConstraint(filter.View(), value);
            }
        });
    }
}

void ImportAddedModules(ImportStructures& import) {
    import.report.StartSection(ReportSection::AddedModules);
    for (LONG index = 0;; ++index) {
        Bstr module;
        check(import.user->zrPatchFunctionName(index, module.Out()));
        if (module.View().empty())
            return;
        Bstr distribution_text;
        Guarded([&] {
            check(import.distribution->get_zrPatchFunction(module.Get(), distribution_text.Out()));
        });
        if (!distribution_text.View().empty())
            continue; // a distribution module stays as the server has it, changed or not
        Guarded([&] {
            Bstr text;
            check(import.user->get_zrPatchFunction(module.Get(), text.Out()));
            const std::wstring target =
                (import.mark ? std::wstring(kAddedMark) : L"") + std::wstring(module.View());
            check(import.server->put_zrPatchFunction(Bstr(target).Get(), text.Get()));
            import.report.AddedModule(module.View());
        });
    }
}

} // namespace kv::import
