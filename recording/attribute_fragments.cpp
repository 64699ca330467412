#include "recording/attribute_fragments.h"

#include "kernel/kernel_reads.h"
#include "platform/guid_conversion.h"
#include "recording/fragment_writer.h"
#include "recording/recording_state.h"
#include "text/literal_encoding.h"
#include "text/scenario_templates.h"
#include "text/script_format.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace kv {
namespace {

// The second name of the move comment when an attribute goes to the end of its class's list:
// "последний атрибут класса" in Windows-1251.
constexpr std::string_view kLastAttributeOfClass =
    "\xEF\xEE\xF1\xEB\xE5\xE4\xED\xE8\xE9 \xE0\xF2\xF0\xE8\xE1\xF3\xF2 \xEA\xEB\xE0\xF1\xF1\xE0";

std::string BoolProperty(IZClassValue* cval,
                         HRESULT (STDMETHODCALLTYPE IZClassValue::*get)(VARIANT_BOOL*)) {
    VARIANT_BOOL value = VARIANT_FALSE;
    check((cval->*get)(&value));
    return BoolLiteral(value);
}

std::string GuidProperty(IZClassValue* cval,
                         HRESULT (STDMETHODCALLTYPE IZClassValue::*get)(GUID*)) {
    GUID value = {};
    check((cval->*get)(&value));
    return GuidText(value);
}

// A text field written into its template's string literal.
void WriteTextField(const ScriptTemplate& scriptTemplate, IZClassValue* cval,
                    HRESULT (STDMETHODCALLTYPE IZClassValue::*get)(BSTR*)) {
    Write(scriptTemplate, {ScenarioLiteral(KernelText(cval, get))});
}

// Every recorded field of the attribute, from its identifier to the forbid-input flag.
void WriteFields(IZClassValue* cval, std::string_view currentNameLiteral) {
    Write(tplAttrGUID, {GuidProperty(cval, &IZClassValue::get_zrGUID)});
    Write(tplAttrName, {currentNameLiteral});
    LONG type = 0;
    check(cval->get_zrType(&type));
    Write(tplAttrType, {static_cast<std::int32_t>(type)});
    Write(tplAttrDataType, {GuidProperty(cval, &IZClassValue::get_zrDataType)});
    WriteTextField(tplAttrScreenName, cval, &IZClassValue::get_zrScreenName);
    WriteTextField(tplAttrAliasName, cval, &IZClassValue::get_zrAliasName);
    WriteTextField(tplAttrGroup, cval, &IZClassValue::get_zrGroup);
    Write(tplAttrFunctionCode,
          {ScenarioCodeLiteral(KernelText(cval, &IZClassValue::get_zrFunctionCode))});
    if (DifferenceMode)
        Write(tplAttrBlocked, {BoolProperty(cval, &IZClassValue::get_zrBlocked)});
    WriteTextField(tplAttrMeasureUnit, cval, &IZClassValue::get_zrMeasureUnit);
    WriteTextField(tplAttrMeasureEntity, cval, &IZClassValue::get_zrMeasureEntity);
    Write(tplAttrForbidInput, {BoolProperty(cval, &IZClassValue::get_zrForbidInput)});
}

// The property list; a plain recording clears the replayed attribute's list first, a
// difference only sets the values it carries.
void WriteProperties(IZClassValue* cval) {
    ComPtr<IZProperties> props;
    check(cval->get_zrProperties(&props));
    props = Required(std::move(props), L"zrProperties");
    Write(tplAttrPropsVar);
    if (!DifferenceMode)
        Write(tplClearAttrProps);
    ForEachProperty(props.Get(), [](const Bstr& name, const VARIANT& value) {
        Write(tplAddAttrProp, {ScenarioLiteral(name.View()), ScenarioLiteral(VariantText(value))});
    });
}

void WriteRights(IZClassValue* cval, GroupRights& groups) {
    const GUID key = SecurityKeyOf(cval);
    Write(tplAttrClearRightsNote);
    groups.ForEach(key, [](const std::string& idLiteral, std::int32_t rights) {
        if (rights == kNoRightsEntry)
            Write(tplRemoveAttrRights, {idLiteral});
        else
            Write(tplGiveAttrRights, {rights, idLiteral});
    });
}

void WriteRemoval(std::wstring_view attributeName, std::wstring_view className) {
    const PlacedName attribute = ScenarioName(attributeName);
    Write(tplRemoveAttrComment, {attribute.comment});
    Write(tplLocateClass, {ScenarioLiteral(className)});
    Write(tplRemoveAttr, {attribute.literal});
    Write(tplEndIfClass);
    WriteEmptyItem();
}

// Whether the entry is inherited: its base class's fragment carries it.
bool IsInherited(IZClassValue* cval) {
    ComPtr<IZClassValue> inheritedFrom;
    check(cval->get_zrInheritedFrom(&inheritedFrom));
    return inheritedFrom != nullptr;
}

// How the fragment names the attribute: in the scenario (its old name, for a renamed one), in
// the kernel now, and its class.
struct AttributeNames {
    const PlacedName& scenario;
    std::string_view currentLiteral;
    const PlacedName& className;
};

void WriteOwnAttribute(IZClassValue* cval, const AttributeNames& names, bool onlyIfMissing,
                       GroupRights& groups) {
    Write(tplProgressStep);
    // A comment shows each character by itself, so the pieces join as the whole would.
    std::string comment = names.className.comment;
    comment += '.';
    comment += names.scenario.comment;
    Write(tplAttrComment, {comment});
    Write(tplLocateClass, {names.className.literal});
    if (onlyIfMissing)
        Write(tplLocateAttrIfMissing, {names.scenario.literal});
    Write(tplAddAttr, {names.scenario.literal});
    if (!onlyIfMissing)
        Write(tplAttrNoInherit);
    WriteFields(cval, names.currentLiteral);
    WriteProperties(cval);
    if (!DifferenceMode)
        WriteRights(cval, groups);
    if (onlyIfMissing)
        Write(tplEndIfAttr);
    Write(tplEndIfClass);
    WriteEmptyItem();
}

} // namespace

bool scriptClassValue(IZClassValue* cval, std::wstring_view name, bool onlyIfMissing) {
    if (!RecordingOpen() || !cval || IsInherited(cval))
        return false;
    const PlacedName currentName = ScenarioName(NameOf(cval));
    const PlacedName className = ScenarioName(NameOf(OwnerClassOf(cval).Get()));
    GroupRights groups([cval] { return LocalSecurityOf(cval); });
    const PlacedName scenarioName = name.empty() ? currentName : ScenarioName(name);
    WriteOwnAttribute(cval, {scenarioName, currentName.literal, className}, onlyIfMissing, groups);
    return true;
}

bool scriptClassEntry(IZClassValue* cval, const PlacedName& className, bool onlyIfMissing,
                      GroupRights& classGroups) {
    if (!RecordingOpen() || !cval || IsInherited(cval))
        return false;
    const PlacedName currentName = ScenarioName(NameOf(cval));
    WriteOwnAttribute(cval, {currentName, currentName.literal, className}, onlyIfMissing,
                      classGroups);
    return true;
}

bool scriptCValRemove(IZClassValue* cval) {
    if (!RecordingOpen() || !cval)
        return false;
    WriteRemoval(NameOf(cval), NameOf(OwnerClassOf(cval).Get()));
    return true;
}

bool scriptCValRemoveName(std::wstring_view attributeName, std::wstring_view className) {
    if (!RecordingOpen())
        return false;
    WriteRemoval(attributeName, className);
    return true;
}

bool scriptCValMove(IZClassValue* cval, IZClassValue* other) {
    if (!RecordingOpen() || !cval)
        return false;
    const PlacedName name = ScenarioName(NameOf(cval));
    const std::wstring className = NameOf(OwnerClassOf(cval).Get());
    if (other) {
        // The kernel swaps attributes within one class only.
        if (NameOf(OwnerClassOf(other).Get()) != className)
            return false;
        const PlacedName otherName = ScenarioName(NameOf(other));
        Write(tplMoveAttrsComment, {name.comment, otherName.comment});
        Write(tplLocateClass, {ScenarioLiteral(className)});
        Write(tplSwapAttrs, {name.literal, otherName.literal});
        Write(tplEndIfClass);
    } else {
        Write(tplMoveAttrsComment, {name.comment, kLastAttributeOfClass});
        Write(tplLocateClass, {ScenarioLiteral(className)});
        Write(tplLocateAttrIfPresent, {name.literal});
        Write(tplMoveAttrToEnd);
        Write(tplEndIfAttr);
        Write(tplEndIfClass);
    }
    WriteEmptyItem();
    return true;
}

} // namespace kv
