// The catalogue of scenario fragment templates: VBScript text with "%s" (text) and "%d"
// (integer) placeholders, filled by Format (script_format.h). Every text is Windows-1251, the
// ANSI code page of the target machines, and is written to scenario files byte for byte.
#pragma once

#include <span>
#include <string_view>

namespace kv {

// Header and footer.
extern const std::string_view tplScriptHeader;
extern const std::string_view tplScriptFooter;

// Progress.
extern const std::string_view tplProgressStep;

// Classes.
extern const std::string_view tplClassComment;
extern const std::string_view tplAddClass;
extern const std::string_view tplLocateClass;
extern const std::string_view tplEndIfClass;
extern const std::string_view tplClassGUID;
extern const std::string_view tplClassName;
extern const std::string_view tplClassScreenName;
extern const std::string_view tplClassPosition;
extern const std::string_view tplClassBase;
extern const std::string_view tplClassBlocked;
extern const std::string_view tplRemoveClass;

// Attributes.
extern const std::string_view tplAttrComment;
extern const std::string_view tplLocateAttrIfMissing;
extern const std::string_view tplLocateAttrIfPresent;
extern const std::string_view tplEndIfAttr;
extern const std::string_view tplAddAttr;
extern const std::string_view tplAttrNoInherit;
extern const std::string_view tplAttrGUID;
extern const std::string_view tplAttrName;
extern const std::string_view tplAttrType;
extern const std::string_view tplAttrDataType;
extern const std::string_view tplAttrScreenName;
extern const std::string_view tplAttrAliasName;
extern const std::string_view tplAttrGroup;
extern const std::string_view tplAttrFunctionCode;
extern const std::string_view tplAttrBlocked;
extern const std::string_view tplAttrMeasureUnit;
extern const std::string_view tplAttrMeasureEntity;
extern const std::string_view tplAttrForbidInput;
extern const std::string_view tplAttrPropsVar;
extern const std::string_view tplClearAttrProps;
extern const std::string_view tplAddAttrProp;
extern const std::string_view tplRemoveAttrComment;
extern const std::string_view tplRemoveAttr;

// Attribute order.
extern const std::string_view tplMoveAttrsComment;
extern const std::string_view tplSwapAttrs;
extern const std::string_view tplMoveAttrToEnd;
extern const std::string_view tplMoveAttrAfter;

// Rights.
extern const std::string_view tplClassClearRightsNote;
extern const std::string_view tplGiveClassRights;
extern const std::string_view tplRemoveClassRights;
extern const std::string_view tplAttrClearRightsNote;
extern const std::string_view tplGiveAttrRights;
extern const std::string_view tplRemoveAttrRights;
extern const std::string_view tplAttrsRightsLoopBegin;
extern const std::string_view tplAttrsRightsLoopGive;
extern const std::string_view tplAttrsRightsLoopEnd;
extern const std::string_view tplGroupRightsComment;
extern const std::string_view tplLocalSecurityVar;
extern const std::string_view tplGiveClassRightsLocal;
extern const std::string_view tplRemoveClassRightsLocal;
extern const std::string_view tplGiveAttrRightsLocal;
extern const std::string_view tplRemoveAttrRightsLocal;

// Links.
extern const std::string_view tplAddLinkComment;
extern const std::string_view tplRemoveLinkComment;
extern const std::string_view tplAddChild;
extern const std::string_view tplRemoveChild;

// Filters.
extern const std::string_view tplFilterComment;
extern const std::string_view tplFilterVectorVar;
extern const std::string_view tplRemoveFilter;
extern const std::string_view tplCreateFilter;
extern const std::string_view tplAddConstraint;
extern const std::string_view tplRemoveConstraint;

// Global modules.
extern const std::string_view tplModuleComment;
extern const std::string_view tplClassVectorVar;
extern const std::string_view tplSetModule;
extern const std::string_view tplRemoveModule;

// Every template with its name, in catalogue order: for tests and diagnostics.
struct NamedTemplate {
    std::string_view name;
    std::string_view text;
};
std::span<const NamedTemplate> TemplateCatalogue();

} // namespace kv
