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
    const std::string text = KernelText(cval, get);
    Write(scriptTemplate, {Literal(text)});
}

// Every recorded field of the attribute, from its identifier to the forbid-input flag.
void WriteFields(IZClassValue* cval, std::string_view currentName) {
    Write(tplAttrGUID, {GuidProperty(cval, &IZClassValue::get_zrGUID)});
    Write(tplAttrName, {Literal(currentName)});
    LONG type = 0;
    check(cval->get_zrType(&type));
    Write(tplAttrType, {static_cast<std::int32_t>(type)});
    Write(tplAttrDataType, {GuidProperty(cval, &IZClassValue::get_zrDataType)});
    WriteTextField(tplAttrScreenName, cval, &IZClassValue::get_zrScreenName);
    WriteTextField(tplAttrAliasName, cval, &IZClassValue::get_zrAliasName);
    WriteTextField(tplAttrGroup, cval, &IZClassValue::get_zrGroup);
    Write(tplAttrFunctionCode, {CodeLiteral(KernelText(cval, &IZClassValue::get_zrFunctionCode))});
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
        Write(tplAddAttrProp,
              {QuoteDoubled(ScenarioAnsiFromBstr(name.Get())), QuoteDoubled(ScenarioVariantText(value))});
    });
}

void WriteRights(IZClassValue* cval, GroupRights& groups) {
    const GUID key = SecurityKeyOf(cval);
    Write(tplAttrClearRightsNote);
    groups.ForEach(key, [](const std::string& id, std::int32_t rights) {
        if (rights == kNoRightsEntry)
            Write(tplRemoveAttrRights, {Literal(id)});
        else
            Write(tplGiveAttrRights, {rights, Literal(id)});
    });
}

void WriteRemoval(std::string_view attributeName, std::string_view className) {
    Write(tplRemoveAttrComment, {Comment(attributeName)});
    Write(tplLocateClass, {Literal(className)});
    Write(tplRemoveAttr, {Literal(attributeName)});
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
    std::string_view scenario;
    std::string_view current;
    std::string_view className;
};

void WriteOwnAttribute(IZClassValue* cval, const AttributeNames& names, bool onlyIfMissing,
                       GroupRights& groups) {
    Write(tplProgressStep);
    std::string comment(names.className);
    comment += '.';
    comment += names.scenario;
    Write(tplAttrComment, {Comment(comment)});
    Write(tplLocateClass, {Literal(names.className)});
    if (onlyIfMissing)
        Write(tplLocateAttrIfMissing, {Literal(names.scenario)});
    Write(tplAddAttr, {Literal(names.scenario)});
    if (!onlyIfMissing)
        Write(tplAttrNoInherit);
    WriteFields(cval, names.current);
    WriteProperties(cval);
    if (!DifferenceMode)
        WriteRights(cval, groups);
    if (onlyIfMissing)
        Write(tplEndIfAttr);
    Write(tplEndIfClass);
    WriteEmptyItem();
}

} // namespace

bool scriptClassValue(IZClassValue* cval, std::string_view name, bool onlyIfMissing) {
    if (!RecordingOpen() || !cval || IsInherited(cval))
        return false;
    const std::string currentName = NameOf(cval);
    const std::string className = NameOf(OwnerClassOf(cval).Get());
    GroupRights groups([cval] { return LocalSecurityOf(cval); });
    WriteOwnAttribute(cval, {name.empty() ? std::string_view(currentName) : name, currentName, className},
                      onlyIfMissing, groups);
    return true;
}

bool scriptClassEntry(IZClassValue* cval, std::string_view className, bool onlyIfMissing,
                      GroupRights& classGroups) {
    if (!RecordingOpen() || !cval || IsInherited(cval))
        return false;
    const std::string currentName = NameOf(cval);
    WriteOwnAttribute(cval, {currentName, currentName, className}, onlyIfMissing, classGroups);
    return true;
}

bool scriptCValRemove(IZClassValue* cval) {
    if (!RecordingOpen() || !cval)
        return false;
    const std::string name = NameOf(cval);
    WriteRemoval(name, NameOf(OwnerClassOf(cval).Get()));
    return true;
}

bool scriptCValRemoveName(std::string_view attributeName, std::string_view className) {
    if (!RecordingOpen())
        return false;
    WriteRemoval(attributeName, className);
    return true;
}

bool scriptCValMove(IZClassValue* cval, IZClassValue* other) {
    if (!RecordingOpen() || !cval)
        return false;
    const std::string name = NameOf(cval);
    const std::string className = NameOf(OwnerClassOf(cval).Get());
    if (other) {
        // The kernel swaps attributes within one class only.
        if (NameOf(OwnerClassOf(other).Get()) != className)
            return false;
        const std::string otherName = NameOf(other);
        Write(tplMoveAttrsComment, {Comment(name), Comment(otherName)});
        Write(tplLocateClass, {Literal(className)});
        Write(tplSwapAttrs, {Literal(name), Literal(otherName)});
        Write(tplEndIfClass);
    } else {
        Write(tplMoveAttrsComment, {Comment(name), kLastAttributeOfClass});
        Write(tplLocateClass, {Literal(className)});
        Write(tplLocateAttrIfPresent, {Literal(name)});
        Write(tplMoveAttrToEnd);
        Write(tplEndIfAttr);
        Write(tplEndIfClass);
    }
    WriteEmptyItem();
    return true;
}

} // namespace kv
