#include "recording/structure_fragments.h"

#include "common/com_owners.h"
#include "common/export_barrier.h"
#include "common/text_conversion.h"
#include "recording/kernel_access.h"
#include "recording/kernel_text.h"
#include "recording/literal_encoding.h"
#include "recording/recording_state.h"
#include "recording/script_format.h"
#include "recording/structure_fragments_text.h"
#include "recording/templates.h"

#include <cstdint>
#include <string>

namespace kv {
namespace {

// The verbs of tplModuleComment, in Windows-1251 like the templates: "Создать", "Удалить".
constexpr std::string_view kCreateVerb = "\xD1\xEE\xE7\xE4\xE0\xF2\xFC";
constexpr std::string_view kRemoveVerb = "\xD3\xE4\xE0\xEB\xE8\xF2\xFC";

void WriteItem(std::string item) {
    if (!ScriptBuffer)
        throw LibraryError(E_UNEXPECTED, L"Запись сценария не открыта");
    ScriptBuffer->push_back(std::move(item));
}

void WriteItems(ScriptItems items) {
    for (std::string& item : items)
        WriteItem(std::move(item));
}

Bstr KernelString(std::string_view ansi) {
    return Bstr(WideFromAnsi(ansi));
}

} // namespace

bool scriptFilter(IZFilterVector* vector, std::string_view name, bool removeOnly, bool newFilter) {
    if (!RecordingActive || !vector || name.empty())
        return false;
    const std::string nameLiteral = PlainTextInLiteral(name);

    WriteItem(std::string(tplProgressStep));
    WriteItem(Format(tplFilterComment, {PlainTextInComment(name)}));
    WriteItem(std::string(tplFilterVectorVar));
    if (!newFilter)
        WriteItem(Format(tplRemoveFilter, {nameLiteral}));
    if (!removeOnly) {
        const std::wstring wideName = WideFromAnsi(name);
        const Bstr kernelName(wideName);
        LONG count = 0;
        check(vector->get_zrFiltersCount(&count));
        for (LONG i = 0; i < count; ++i) {
            Bstr filterName;
            check(vector->zrFilterName(i, filterName.Out()));
            if (filterName.View() != wideName)
                continue;
            Bstr caption;
            check(vector->zrFilterCaption(i, caption.Out()));
            WriteItem(Format(tplCreateFilter,
                             {nameLiteral, PlainTextInLiteral(AnsiFromBstr(caption.Get()))}));
            break;
        }
        LONG constraints = 0;
        check(vector->zrConstraintsCount(kernelName.Get(), &constraints));
        for (LONG j = 0; j < constraints; ++j) {
            Bstr className;
            check(vector->zrConstraintItem(kernelName.Get(), j, className.Out()));
            WriteItem(Format(tplAddConstraint,
                             {nameLiteral, PlainTextInLiteral(AnsiFromBstr(className.Get()))}));
        }
    }
    WriteItem({});
    return true;
}

bool scriptConstraint(std::string_view filter, std::string_view className, bool remove) {
    // The host calls it only inside a recording; outside one there is nowhere to write.
    if (!RecordingActive)
        return false;
    WriteItems(ConstraintFragment(filter, className, remove));
    return true;
}

bool scriptSecurity(IZModel* model, std::string_view groupId) {
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
              ->zrGroupByID(KernelString(groupId).Get(), &group));
    Variant groupName;
    check(security->zrGroupAttribute(group, 0, 1, groupName.Out()));
    // The name is only shown in a comment; the rights lines use the identifier.
    WriteItem(
        Format(tplGroupRightsComment, {PlainTextInComment(ShownVariantText(*groupName.Get()))}));
    WriteItem(std::string(tplLocalSecurityVar));

    // The rights lines name the group by the identifier the host gave.
    const std::string groupLiteral = PlainTextInLiteral(groupId);
    LONG classCount = 0;
    check(Required(classes, L"zrGetClassVector")->get_zrCount(&classCount));
    for (LONG i = 0; i < classCount; ++i) {
        ComPtr<IZClass> cls;
        check(classes->zrItem(i, &cls));
        WriteItem(
            Format(tplAddClass, {PlainTextInLiteral(NameOf(Required(cls, L"zrItem").Get()))}));
        const std::int32_t classRights = RightsOf(security.Get(), group, SecurityKeyOf(cls.Get()));
        WriteItem(classRights == kNoRightsEntry
                      ? Format(tplRemoveClassRightsLocal, {groupLiteral})
                      : Format(tplGiveClassRightsLocal, {classRights, groupLiteral}));

        LONG attributeCount = 0;
        check(cls->get_zrClassValuesCount(&attributeCount));
        for (LONG j = 0; j < attributeCount; ++j) {
            ComPtr<IZClassValue> attribute;
            check(cls->zriClassValueItem(j, &attribute));
            WriteItem(Format(tplAddAttr, {PlainTextInLiteral(NameOf(
                                             Required(attribute, L"zriClassValueItem").Get()))}));
            const std::int32_t rights =
                RightsOf(security.Get(), group, SecurityKeyOf(attribute.Get()));
            WriteItem(rights == kNoRightsEntry
                          ? Format(tplRemoveAttrRightsLocal, {groupLiteral})
                          : Format(tplGiveAttrRightsLocal, {rights, groupLiteral}));
        }
    }
    WriteItem({});
    return true;
}

bool scriptModule(IZClassVector* classVector, std::string_view rawName, bool remove) {
    if (!RecordingActive || !classVector)
        return false;
    const std::string_view name = TrimModuleName(rawName);
    if (name.empty())
        return false;
    const std::string nameComment = PlainTextInComment(name);
    const std::string nameLiteral = PlainTextInLiteral(name);

    WriteItem(std::string(tplProgressStep));
    if (remove) {
        WriteItem(Format(tplModuleComment, {kRemoveVerb, nameComment}));
        WriteItem(std::string(tplClassVectorVar));
        WriteItem(Format(tplRemoveModule, {nameLiteral}));
    } else {
        // A module whose text cannot be read is not recorded; the progress line stays.
        Bstr text;
        if (FAILED(classVector->get_zrPatchFunction(KernelString(name).Get(), text.Out())))
            return false;
        const std::string encoded = ModuleLiteral(AnsiFromBstr(text.Get()));
        WriteItem(Format(tplModuleComment, {kCreateVerb, nameComment}));
        WriteItem(std::string(tplClassVectorVar));
        WriteItem(Format(tplSetModule, {nameLiteral, encoded}));
    }
    WriteItem({});
    return true;
}

bool scriptClassLink(std::string_view parent, std::string_view child, bool remove) {
    if (!RecordingActive)
        return false;
    WriteLinkFragment(parent, child, remove);
    return true;
}

void WriteLinkFragment(std::string_view parent, std::string_view child, bool remove) {
    WriteItems(LinkFragment(parent, child, remove));
}

} // namespace kv
