#include "recording/structure_fragments.h"

#include "kernel/kernel_reads.h"
#include "platform/barriers.h"
#include "platform/com_owners.h"
#include "platform/ole_text.h"
#include "platform/text_conversion.h"
#include "recording/fragment_writer.h"
#include "recording/recording_state.h"
#include "recording/structure_fragments_text.h"
#include "text/literal_encoding.h"
#include "text/scenario_templates.h"
#include "text/script_format.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kv {
namespace {

// The verbs of tplModuleComment, in Windows-1251 like the templates: "Создать", "Удалить".
constexpr std::string_view kCreateVerb = "\xD1\xEE\xE7\xE4\xE0\xF2\xFC";
constexpr std::string_view kRemoveVerb = "\xD3\xE4\xE0\xEB\xE8\xF2\xFC";

void RequireBuffer() {
    if (!ScriptBuffer)
        throw LibraryError(E_UNEXPECTED, L"Запись сценария не открыта");
}

void WriteItem(std::string_view item) {
    RequireBuffer();
    ScriptBuffer->push_back(item);
}

// A filled template as one item (see Write).
void WriteFormatted(const ScriptTemplate& scriptTemplate,
                    std::initializer_list<FormatValue> values) {
    RequireBuffer();
    Write(scriptTemplate, values);
}

void WriteItems(const ScriptItems& items) {
    for (const std::string& item : items)
        WriteItem(item);
}

// Where the last search for a filter found it. The next search starts after it, so that
// recording every filter in the vector's order finds each at once instead of walking the list
// from its start every time. It is only a starting point: the search still goes round the
// whole list, and a filter vector names each filter once (it is addressed by name), so the
// filter found is the one a search from the start finds. Touched only on the host's
// user-interface thread.
LONG filterSearchStart = 0;

// The position of the filter of that name, searched round the list from filterSearchStart.
std::optional<LONG> FindFilter(IZFilterVector* vector, std::wstring_view name) {
    LONG count = 0;
    check(vector->get_zrFiltersCount(&count));
    for (LONG n = 0; n < count; ++n) {
        const LONG i = (filterSearchStart + n) % count;
        Bstr filterName;
        check(vector->zrFilterName(i, filterName.Out()));
        if (filterName.View() == name) {
            filterSearchStart = i + 1;
            return i;
        }
    }
    return std::nullopt;
}

} // namespace

bool scriptFilter(IZFilterVector* vector, std::wstring_view name, bool removeOnly, bool newFilter) {
    if (!RecordingActive || !vector || name.empty())
        return false;
    const PlacedName placed = ScenarioName(name);

    WriteItem(tplProgressStep);
    WriteFormatted(tplFilterComment, {placed.comment});
    WriteItem(tplFilterVectorVar);
    if (!newFilter)
        WriteFormatted(tplRemoveFilter, {placed.literal});
    if (!removeOnly) {
        const Bstr kernelName(name);
        if (const std::optional<LONG> position = FindFilter(vector, name)) {
            Bstr caption;
            check(vector->zrFilterCaption(*position, caption.Out()));
            WriteFormatted(tplCreateFilter, {placed.literal, ScenarioLiteral(caption.View())});
        }
        LONG constraints = 0;
        check(vector->zrConstraintsCount(kernelName.Get(), &constraints));
        for (LONG j = 0; j < constraints; ++j) {
            Bstr className;
            check(vector->zrConstraintItem(kernelName.Get(), j, className.Out()));
            WriteFormatted(tplAddConstraint, {placed.literal, ScenarioLiteral(className.View())});
        }
    }
    WriteItem({});
    return true;
}

bool scriptConstraint(std::wstring_view filter, std::wstring_view className, bool remove) {
    // The host calls it only inside a recording; outside one there is nowhere to write.
    if (!RecordingActive)
        return false;
    WriteItems(ConstraintFragment(ScenarioName(filter), ScenarioName(className), remove));
    return true;
}

bool scriptSecurity(IZModel* model, std::wstring_view groupId) {
    if (!RecordingActive || !model)
        return false;
    ComPtr<IZLocalSecurity> security;
    check(model->zrGetLocalSecurity(&security));
    ComPtr<IZClassVector> classes;
    check(model->zrGetClassVector(&classes));
    if (groupId.empty())
        return false;

    LONG group = 0;
    check(Required(security, L"zrGetLocalSecurity")
              ->zrGroupByID(Bstr(groupId).Get(), &group));
    Variant groupName;
    check(security->zrGroupAttribute(group, 0, 1, groupName.Out()));
    // The name is only shown in a comment; the rights lines use the identifier.
    WriteFormatted(tplGroupRightsComment, {ScenarioComment(VariantText(*groupName.Get()))});
    WriteItem(tplLocalSecurityVar);

    // The rights lines name the group by the identifier the host gave.
    const std::string groupLiteral = ScenarioLiteral(groupId);
    LONG classCount = 0;
    check(Required(classes, L"zrGetClassVector")->get_zrCount(&classCount));
    for (LONG i = 0; i < classCount; ++i) {
        ComPtr<IZClass> cls;
        check(classes->zrItem(i, &cls));
        WriteFormatted(tplAddClass, {ScenarioLiteral(NameOf(Required(cls, L"zrItem").Get()))});
        const std::int32_t classRights = RightsOf(security.Get(), group, SecurityKeyOf(cls.Get()));
        if (classRights == kNoRightsEntry)
            WriteFormatted(tplRemoveClassRightsLocal, {groupLiteral});
        else
            WriteFormatted(tplGiveClassRightsLocal, {classRights, groupLiteral});

        LONG attributeCount = 0;
        check(cls->get_zrClassValuesCount(&attributeCount));
        for (LONG j = 0; j < attributeCount; ++j) {
            ComPtr<IZClassValue> attribute;
            check(cls->zriClassValueItem(j, &attribute));
            WriteFormatted(tplAddAttr,
                           {ScenarioLiteral(NameOf(Required(attribute, L"zriClassValueItem").Get()))});
            const std::int32_t rights =
                RightsOf(security.Get(), group, SecurityKeyOf(attribute.Get()));
            if (rights == kNoRightsEntry)
                WriteFormatted(tplRemoveAttrRightsLocal, {groupLiteral});
            else
                WriteFormatted(tplGiveAttrRightsLocal, {rights, groupLiteral});
        }
    }
    WriteItem({});
    return true;
}

bool scriptModule(IZClassVector* classVector, std::wstring_view rawName, bool remove) {
    if (!RecordingActive || !classVector)
        return false;
    const std::wstring_view name = TrimModuleName(rawName);
    if (name.empty())
        return false;
    const PlacedName placed = ScenarioName(name);

    WriteItem(tplProgressStep);
    if (remove) {
        WriteFormatted(tplModuleComment, {kRemoveVerb, placed.comment});
        WriteItem(tplClassVectorVar);
        WriteFormatted(tplRemoveModule, {placed.literal});
    } else {
        // A module whose text cannot be read is not recorded; the progress line stays.
        Bstr text;
        if (FAILED(classVector->get_zrPatchFunction(Bstr(name).Get(), text.Out())))
            return false;
        const std::string encoded = ScenarioModuleLiteral(text.View());
        WriteFormatted(tplModuleComment, {kCreateVerb, placed.comment});
        WriteItem(tplClassVectorVar);
        WriteFormatted(tplSetModule, {placed.literal, encoded});
    }
    WriteItem({});
    return true;
}

bool scriptClassLink(std::wstring_view parent, std::wstring_view child, bool remove) {
    if (!RecordingActive)
        return false;
    WriteLinkFragment(parent, child, remove);
    return true;
}

void WriteLinkFragment(std::wstring_view parent, std::wstring_view child, bool remove) {
    WriteItems(LinkFragment(ScenarioName(parent), ScenarioName(child), remove));
}

} // namespace kv
