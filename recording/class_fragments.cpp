#include "recording/class_fragments.h"

#include "kernel/kernel_reads.h"
#include "platform/guid_conversion.h"
#include "recording/attribute_fragments.h"
#include "recording/fragment_writer.h"
#include "recording/link_receiver.h"
#include "recording/recording_state.h"
#include "text/literal_encoding.h"
#include "text/scenario_templates.h"
#include "text/script_format.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

namespace kv {
namespace {

// The class as the kernel names it: for further kernel calls, and placed for the scenario.
struct ClassName {
    Bstr wide;
    PlacedName placed;
};

ClassName ReadClassName(IZClass* cls) {
    Bstr wide;
    check(cls->get_zrName(wide.Out()));
    PlacedName placed = ScenarioName(wide.View());
    return {std::move(wide), std::move(placed)};
}

void WritePosition(IZClass* cls) {
    ComPtr<IZClassPosition> position;
    check(cls->QueryInterface(IID_PPV_ARGS(&position)));
    LONG x = 0;
    LONG y = 0;
    check(position->GetPosition(&x, &y));
    Write(tplClassPosition, {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)});
}

void WriteBaseClass(IZClass* cls) {
    ComPtr<IZClass> base;
    check(cls->get_zrBaseClass(&base));
    if (base)
        Write(tplClassBase, {ScenarioLiteral(NameOf(base.Get()))});
}

void WriteBlocked(IZClass* cls) {
    VARIANT_BOOL blocked = VARIANT_FALSE;
    check(cls->get_zrBlocked(&blocked));
    Write(tplClassBlocked, {BoolLiteral(blocked)});
}

// Inherited entries give nothing (scriptClassValue skips them); own ones their whole fragment.
void WriteAttributes(IZClass* cls, const ClassName& name, bool onlyIfMissing,
                     GroupRights& groups) {
    LONG count = 0;
    check(cls->get_zrClassValuesCount(&count));
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IZClassValue> cval;
        check(cls->zriClassValueItem(i, &cval));
        cval = Required(std::move(cval), L"zriClassValueItem");
        scriptClassEntry(cval.Get(), name.placed, onlyIfMissing, groups);
    }
}

void WriteClassRights(GroupRights& groups, const GUID& key) {
    Write(tplClassClearRightsNote);
    groups.ForEach(key, [](const std::string& idLiteral, std::int32_t rights) {
        if (rights == kNoRightsEntry)
            Write(tplRemoveClassRights, {idLiteral});
        else
            Write(tplGiveClassRights, {rights, idLiteral});
    });
}

// A loop of the scenario that gives every attribute of the class, inherited ones included, the
// class's rights.
void WriteAttributeRightsLoop(GroupRights& groups, const GUID& key) {
    Write(tplAttrsRightsLoopBegin);
    groups.ForEach(key, [](const std::string& idLiteral, std::int32_t rights) {
        if (rights == kNoRightsEntry)
            Write(tplRemoveAttrRights, {idLiteral});
        else
            Write(tplAttrsRightsLoopGive, {rights, idLiteral});
    });
    Write(tplAttrsRightsLoopEnd);
}

// The constraints of every filter that names the class.
void WriteConstraints(IZClass* cls, const ClassName& name) {
    Write(tplFilterVectorVar);
    ComPtr<IZFilterVector> filters;
    check(ClassVectorOf(cls)->QueryInterface(IID_PPV_ARGS(&filters)));
    LONG count = 0;
    check(filters->get_zrFiltersCount(&count));
    for (LONG i = 0; i < count; ++i) {
        Bstr filter;
        check(filters->zrFilterName(i, filter.Out()));
        VARIANT_BOOL exists = VARIANT_FALSE;
        check(filters->zrConstraintExists(filter.Get(), name.wide.Get(), &exists));
        if (exists != VARIANT_FALSE)
            Write(tplAddConstraint, {ScenarioLiteral(filter.View()), name.placed.literal});
    }
}

void WriteChildLinks(IZClass* cls, const ClassName& name) {
    LONG count = 0;
    check(cls->get_zrChildClassesCount(&count));
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IZClass> child;
        check(cls->zriChildClassItem(i, &child));
        if (!child)
            continue;
        const PlacedName childName = ScenarioName(NameOf(child.Get()));
        Write(tplAddLinkComment, {name.placed.comment, childName.comment});
        Write(tplAddChild, {childName.literal});
    }
}

void WriteParentLink(IZClass* parent, const ClassName& name) {
    const PlacedName parentName = ScenarioName(NameOf(parent));
    Write(tplAddLinkComment, {parentName.comment, name.placed.comment});
    Write(tplAddClass, {parentName.literal});
    Write(tplAddChild, {name.placed.literal});
}

// Every class of the vector that has this one among its children, in the vector's order. Each
// parent is addressed with tplAddClass, so afterwards the scenario's cls holds the last parent
// written. An open recording knows the parents from the links; otherwise every class is asked.
void WriteParentLinks(IZClass* cls, const ClassName& name) {
    const ComPtr<IZClassVector> vector = ClassVectorOf(cls);
    if (ParentLinks* links = RecordingParentLinks(vector.Get())) {
        if (const std::optional<ParentLinks::ClassList> parents =
                links->ParentsOf(vector.Get(), cls)) {
            for (const ComPtr<IZClass>& parent : *parents)
                WriteParentLink(parent.Get(), name);
            return;
        }
    }
    LONG count = 0;
    check(vector->get_zrCount(&count));
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IZClass> parent;
        check(vector->zrItem(i, &parent));
        parent = Required(std::move(parent), L"zrItem");
        ComPtr<IZClass> link;
        check(parent->zrnChildClassItem(name.wide.Get(), &link));
        if (link)
            WriteParentLink(parent.Get(), name);
    }
}

bool IsSpaceOrControl(wchar_t c) {
    return c <= L' ';
}

} // namespace

bool scriptClass(IZClass* cls, std::wstring_view name, const ClassFragmentOptions& options) {
    if (!RecordingOpen() || !cls)
        return false;
    const ClassName current = ReadClassName(cls);
    // An empty name asks for the complete class: written as new, it replaces the old one.
    const bool completeRewrite = name.empty();
    if (completeRewrite && !options.updateOnly)
        scriptClsRemove(current.wide.View());
    const PlacedName scenarioName = completeRewrite ? current.placed : ScenarioName(name);

    Write(tplProgressStep);
    Write(tplClassComment, {scenarioName.comment});
    Write(tplAddClass, {scenarioName.literal});
    GUID guid = {};
    check(cls->get_zrGUID(&guid));
    Write(tplClassGUID, {GuidText(guid)});
    Write(tplClassName, {current.placed.literal});
    Write(tplClassScreenName, {ScenarioLiteral(KernelText(cls, &IZClass::get_zrScreenName))});
    WritePosition(cls);
    if (!options.updateOnly)
        WriteBaseClass(cls);
    if (DifferenceMode)
        WriteBlocked(cls);
    // The groups of the class's model, read once for the whole fragment.
    GroupRights groups([cls] { return LocalSecurityOf(cls); });
    if (completeRewrite) {
        WriteEmptyItem();
        WriteAttributes(cls, current, options.updateOnly, groups);
    }
    // A difference scenario carries rights, constraints and links in sections of its own.
    if (!DifferenceMode) {
        const GUID key = SecurityKeyOf(cls);
        WriteClassRights(groups, key);
        if (options.attributeRights)
            WriteAttributeRightsLoop(groups, key);
        if (options.filters)
            WriteConstraints(cls, current);
        if (options.links) {
            WriteChildLinks(cls, current);
            WriteParentLinks(cls, current);
        }
    }
    WriteEmptyItem();
    return true;
}

bool scriptClsRemove(std::wstring_view className) {
    if (!RecordingOpen())
        return false;
    std::size_t first = 0;
    std::size_t end = className.size();
    while (first < end && IsSpaceOrControl(className[first]))
        ++first;
    while (end > first && IsSpaceOrControl(className[end - 1]))
        --end;
    const std::wstring_view name = className.substr(first, end - first);
    if (name.empty())
        return false;
    const PlacedName placed = ScenarioName(name);
    Write(tplRemoveClass, {placed.comment, placed.literal});
    WriteEmptyItem();
    return true;
}

} // namespace kv
