// The catalogue of scenario fragment templates: VBScript text with "%s" (text) and "%d"
// (integer) placeholders, filled by Format (script_format.h). Every text is Windows-1251, the
// ANSI code page of the target machines, and is written to scenario files byte for byte.
#pragma once

#include "text/script_format.h"

#include <span>
#include <string_view>

namespace kv {

// Header and footer.
extern const ScriptTemplate tplScriptHeader;
extern const ScriptTemplate tplScriptFooter;

// Progress.
extern const ScriptTemplate tplProgressStep;

// Classes.
extern const ScriptTemplate tplClassComment;
extern const ScriptTemplate tplAddClass;
extern const ScriptTemplate tplLocateClass;
extern const ScriptTemplate tplEndIfClass;
extern const ScriptTemplate tplClassGUID;
extern const ScriptTemplate tplClassName;
extern const ScriptTemplate tplClassScreenName;
extern const ScriptTemplate tplClassPosition;
extern const ScriptTemplate tplClassBase;
extern const ScriptTemplate tplClassBlocked;
extern const ScriptTemplate tplRemoveClass;

// Attributes.
extern const ScriptTemplate tplAttrComment;
extern const ScriptTemplate tplLocateAttrIfMissing;
extern const ScriptTemplate tplLocateAttrIfPresent;
extern const ScriptTemplate tplEndIfAttr;
extern const ScriptTemplate tplAddAttr;
extern const ScriptTemplate tplAttrNoInherit;
extern const ScriptTemplate tplAttrGUID;
extern const ScriptTemplate tplAttrName;
extern const ScriptTemplate tplAttrType;
extern const ScriptTemplate tplAttrDataType;
extern const ScriptTemplate tplAttrScreenName;
extern const ScriptTemplate tplAttrAliasName;
extern const ScriptTemplate tplAttrGroup;
extern const ScriptTemplate tplAttrFunctionCode;
extern const ScriptTemplate tplAttrBlocked;
extern const ScriptTemplate tplAttrMeasureUnit;
extern const ScriptTemplate tplAttrMeasureEntity;
extern const ScriptTemplate tplAttrForbidInput;
extern const ScriptTemplate tplAttrPropsVar;
extern const ScriptTemplate tplClearAttrProps;
extern const ScriptTemplate tplAddAttrProp;
extern const ScriptTemplate tplRemoveAttrComment;
extern const ScriptTemplate tplRemoveAttr;

// Attribute order.
extern const ScriptTemplate tplMoveAttrsComment;
extern const ScriptTemplate tplSwapAttrs;
extern const ScriptTemplate tplMoveAttrToEnd;
extern const ScriptTemplate tplMoveAttrAfter;

// Rights.
extern const ScriptTemplate tplClassClearRightsNote;
extern const ScriptTemplate tplGiveClassRights;
extern const ScriptTemplate tplRemoveClassRights;
extern const ScriptTemplate tplAttrClearRightsNote;
extern const ScriptTemplate tplGiveAttrRights;
extern const ScriptTemplate tplRemoveAttrRights;
extern const ScriptTemplate tplAttrsRightsLoopBegin;
extern const ScriptTemplate tplAttrsRightsLoopGive;
extern const ScriptTemplate tplAttrsRightsLoopEnd;
extern const ScriptTemplate tplGroupRightsComment;
extern const ScriptTemplate tplLocalSecurityVar;
extern const ScriptTemplate tplGiveClassRightsLocal;
extern const ScriptTemplate tplRemoveClassRightsLocal;
extern const ScriptTemplate tplGiveAttrRightsLocal;
extern const ScriptTemplate tplRemoveAttrRightsLocal;

// Links.
extern const ScriptTemplate tplAddLinkComment;
extern const ScriptTemplate tplRemoveLinkComment;
extern const ScriptTemplate tplAddChild;
extern const ScriptTemplate tplRemoveChild;

// Filters.
extern const ScriptTemplate tplFilterComment;
extern const ScriptTemplate tplFilterVectorVar;
extern const ScriptTemplate tplRemoveFilter;
extern const ScriptTemplate tplCreateFilter;
extern const ScriptTemplate tplAddConstraint;
extern const ScriptTemplate tplRemoveConstraint;

// Global modules.
extern const ScriptTemplate tplModuleComment;
extern const ScriptTemplate tplClassVectorVar;
extern const ScriptTemplate tplSetModule;
extern const ScriptTemplate tplRemoveModule;

// Every template with its name, in catalogue order: for tests and diagnostics.
struct NamedTemplate {
    std::string_view name;
    std::string_view text;
};
std::span<const NamedTemplate> TemplateCatalogue();

} // namespace kv
