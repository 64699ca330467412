#include "text/scenario_templates.h"

#include "text/cp1251_literal.h"

namespace kv {
namespace {

// Template texts: UTF-8 in this file, Windows-1251 bytes in the binary.
template <Cp1251Literal text> constexpr std::string_view Ansi = Cp1251<text>;

} // namespace

// Header and footer.
constexpr ScriptTemplate tplScriptHeader{Ansi<
    u8"' Сценарий конфигуратора модели ЗЕЛВАР\r\n"
    u8"' Для выполнения сценария вне среды конфигуратора\r\n"
    u8"' раскомментируйте нижеследующий блок, а также\r\n"
    u8"' блок, завершающий сценарий\r\n"
    u8"' dim b_logon\r\n"
    u8"' set m_tarnbridge = CreateObject(\"tarnbridge.Tarnbridge\")\r\n"
    u8"' if wscript.Arguments.length=2 then\r\n"
    u8"'   b_logon = "
    u8"m_tarnbridge.GlobalVars.Logon.LogonAsParams(wscript.Arguments(0),wscript.Arguments(1))\r\n"
    u8"' else\r\n"
    u8"'   b_logon = m_tarnbridge.GlobalVars.Logon.LogonAuto\r\n"
    u8"' end if\r\n"
    u8"' if b_logon=false then\r\n"
    u8"'   if m_tarnbridge.GetLastErrorCode<>0 then\r\n"
    u8"'     MsgBox m_tarnbridge.GetLastErrorMessage\r\n"
    u8"'   end if\r\n"
    u8"' else\r\n"
    u8"'   set mdl = CreateObject(\"zkernel.ZModel\")\r\n"
    u8"'   set none = mdl.zrGetClassVector.zrItem(0)\r\n"
    u8"'   mdl.zrLoadModel \"structure.ztp\",none,36\r\n"
    u8"\r\n"
    u8"on error resume next\r\n"
    u8"set s_helper = CreateObject(\"korvalith.ZScriptHelper\")\r\n">};
constexpr ScriptTemplate tplScriptFooter{Ansi<u8"\r\n"
                                              u8"'   mdl.zrSaveModel \"\",none\r\n"
                                              u8"'   MsgBox \"Сценарий выполнен\"\r\n"
                                              u8"' end if">};

// Progress.
constexpr ScriptTemplate tplProgressStep{
    Ansi<u8"if IsObject(InstInit) then InstInit.ProgressBarItem.StepIt">};

// Classes.
constexpr ScriptTemplate tplClassComment{Ansi<u8"' Создать/изменить класс %s">};
constexpr ScriptTemplate tplAddClass{Ansi<u8"set cls = nothing\r\n"
                                          u8"set cls = mdl.zrGetClassVector.zrAdd(\"%s\")">};
constexpr ScriptTemplate tplLocateClass{Ansi<u8"set cls = nothing\r\n"
                                             u8"set cls = mdl.zrGetClassVector.zrLocate(\"%s\")\r\n"
                                             u8"if not (cls is nothing) then">};
constexpr ScriptTemplate tplEndIfClass{Ansi<u8"end if">};
constexpr ScriptTemplate tplClassGUID{Ansi<u8"  s_helper.zsSetClassGUID cls, \"%s\"">};
constexpr ScriptTemplate tplClassName{Ansi<u8"  cls.zrName = \"%s\"">};
constexpr ScriptTemplate tplClassScreenName{Ansi<u8"  cls.zrScreenName = \"%s\"">};
constexpr ScriptTemplate tplClassPosition{Ansi<u8"  s_helper.zsSetCoors cls, %d, %d">};
constexpr ScriptTemplate tplClassBase{
    Ansi<u8"  cls.zrBaseClass = mdl.zrGetClassVector.zrLocate(\"%s\")">};
constexpr ScriptTemplate tplClassBlocked{Ansi<u8"  cls.zrBlocked = %s">};
constexpr ScriptTemplate tplRemoveClass{Ansi<u8"' Удалить класс %s\r\n"
                                             u8"mdl.zrGetClassVector.zrRemove \"%s\"">};

// Attributes.
constexpr ScriptTemplate tplAttrComment{Ansi<u8"' Создать/изменить атрибут %s">};
constexpr ScriptTemplate tplLocateAttrIfMissing{
    Ansi<u8"set cval = nothing\r\n"
         u8"set cval = cls.zrnClassValueItem(\"%s\")\r\n"
         u8"if cval is nothing then">};
constexpr ScriptTemplate tplLocateAttrIfPresent{
    Ansi<u8"set cval= nothing\r\n"
         u8"set cval = cls.zrnClassValueItem(\"%s\")\r\n"
         u8"if not (cval is nothing) then">};
constexpr ScriptTemplate tplEndIfAttr{Ansi<u8"end if">};
constexpr ScriptTemplate tplAddAttr{Ansi<u8"set cval = nothing\r\n"
                                         u8"set cval = cls.zrAddClassValue(\"%s\")">};
constexpr ScriptTemplate tplAttrNoInherit{Ansi<u8"  cval.zrInheritedFrom = nothing">};
constexpr ScriptTemplate tplAttrGUID{Ansi<u8"  s_helper.zsSetClassValueGUID cval, \"%s\"">};
constexpr ScriptTemplate tplAttrName{Ansi<u8"  cval.zrName = \"%s\"">};
constexpr ScriptTemplate tplAttrType{Ansi<u8"  cval.zrType = %d">};
constexpr ScriptTemplate tplAttrDataType{Ansi<u8"  s_helper.zsSetCValDataType cval, \"%s\"">};
constexpr ScriptTemplate tplAttrScreenName{Ansi<u8"  cval.zrScreenName = \"%s\"">};
constexpr ScriptTemplate tplAttrAliasName{Ansi<u8"  cval.zrAliasName = \"%s\"">};
constexpr ScriptTemplate tplAttrGroup{Ansi<u8"  cval.zrGroup = \"%s\"">};
constexpr ScriptTemplate tplAttrFunctionCode{Ansi<u8"  cval.zrFunctionCode = %s">};
constexpr ScriptTemplate tplAttrBlocked{Ansi<u8"  cval.zrBlocked = %s">};
constexpr ScriptTemplate tplAttrMeasureUnit{Ansi<u8"  cval.zrMeasureUnit = \"%s\"">};
constexpr ScriptTemplate tplAttrMeasureEntity{Ansi<u8"  cval.zrMeasureEntity = \"%s\"">};
constexpr ScriptTemplate tplAttrForbidInput{Ansi<u8"  cval.zrForbidInput = %s">};
constexpr ScriptTemplate tplAttrPropsVar{Ansi<u8"  set props = cval.zrProperties">};
constexpr ScriptTemplate tplClearAttrProps{
    Ansi<u8"    i = props.zrCount - 1\r\n"
         u8"    do while (i>=0)\r\n"
         u8"      propname = s_helper.zsPropName(props,i)\r\n"
         u8"      props.zrRemoveProp propname\r\n"
         u8"      i = i - 1\r\n"
         u8"    loop">};
constexpr ScriptTemplate tplAddAttrProp{Ansi<u8"    props.zrAddProp \"%s\",\"%s\"">};
constexpr ScriptTemplate tplRemoveAttrComment{Ansi<u8"' Удалить атирбут %s">};
constexpr ScriptTemplate tplRemoveAttr{Ansi<u8"cls.zrRemoveClassValue \"%s\"">};

// Attribute order.
constexpr ScriptTemplate tplMoveAttrsComment{Ansi<u8"' Переместить атрибуты %s <--> %s">};
constexpr ScriptTemplate tplSwapAttrs{Ansi<u8"cls.zrSwapClassValues \"%s\",\"%s\"">};
constexpr ScriptTemplate tplMoveAttrToEnd{Ansi<
    u8"  s_after = cls.zriClassValueItem(cls.zrClassValuesCount-1).zrName\r\n"
    u8"  i = 0\r\n"
    u8"  do while (i<cls.zrClassValuesCount)\r\n"
    u8"    if ((cls.zriClassValueItem(i).zrName=cval.zrName)and(i<(cls.zrClassValuesCount-1))) "
    u8"then\r\n"
    u8"      cls.zrSwapClassValues cval.zrName,cls.zriClassValueItem(i+1).zrName\r\n"
    u8"    end if\r\n"
    u8"    i = i + 1\r\n"
    u8"  loop">};
constexpr ScriptTemplate tplMoveAttrAfter{
    Ansi<u8"  s_after = \"%s\"\r\n"
         u8"  i = cls.zrClassValuesCount - 1\r\n"
         u8"  do while (i>=0)\r\n"
         u8"    if (cls.zriClassValueItem(i).zrName=s_after) then\r\n"
         u8"      exit do\r\n"
         u8"    end if\r\n"
         u8"    cls.zrSwapClassValues cval.zrName,cls.zriClassValueItem(i).zrName\r\n"
         u8"    i = i - 1\r\n"
         u8"  loop">};

// Rights.
constexpr ScriptTemplate tplClassClearRightsNote{
    Ansi<u8"  's_helper.zsClearRights cls,mdl.zrGetLocalSecurity">};
constexpr ScriptTemplate tplGiveClassRights{
    Ansi<u8"  s_helper.zsGiveRights cls,%d,\"%s\",mdl.zrGetLocalSecurity">};
constexpr ScriptTemplate tplRemoveClassRights{
    Ansi<u8"  s_helper.zsRemoveRights cls,\"%s\",mdl.zrGetLocalSecurity">};
constexpr ScriptTemplate tplAttrClearRightsNote{
    Ansi<u8"  's_helper.zsClearRights cval,mdl.zrGetLocalSecurity">};
constexpr ScriptTemplate tplGiveAttrRights{
    Ansi<u8"  s_helper.zsGiveRights cval,%d,\"%s\",mdl.zrGetLocalSecurity">};
constexpr ScriptTemplate tplRemoveAttrRights{
    Ansi<u8"  s_helper.zsRemoveRights cval,\"%s\",mdl.zrGetLocalSecurity">};
constexpr ScriptTemplate tplAttrsRightsLoopBegin{
    Ansi<u8"  i = cls.zrClassValuesCount - 1\r\n"
         u8"    do while (i>=0)\r\n"
         u8"      set cval = cls.zriClassValueItem(i)\r\n"
         u8"      's_helper.zsClearRights cval,mdl.zrGetLocalSecurity">};
constexpr ScriptTemplate tplAttrsRightsLoopGive{
    Ansi<u8"      s_helper.zsGiveRights cval,%d,\"%s\",mdl.zrGetLocalSecurity">};
constexpr ScriptTemplate tplAttrsRightsLoopEnd{Ansi<u8"      i = i - 1\r\n"
                                                    u8"    loop">};
constexpr ScriptTemplate tplGroupRightsComment{Ansi<u8"' Права группы %s">};
constexpr ScriptTemplate tplLocalSecurityVar{Ansi<u8"set l_sec = mdl.zrGetLocalSecurity">};
constexpr ScriptTemplate tplGiveClassRightsLocal{
    Ansi<u8"  s_helper.zsGiveRights cls,%d,\"%s\",l_sec">};
constexpr ScriptTemplate tplRemoveClassRightsLocal{
    Ansi<u8"  s_helper.zsRemoveRights cls,\"%s\",l_sec">};
constexpr ScriptTemplate tplGiveAttrRightsLocal{
    Ansi<u8"  s_helper.zsGiveRights cval,%d,\"%s\",l_sec">};
constexpr ScriptTemplate tplRemoveAttrRightsLocal{
    Ansi<u8"  s_helper.zsRemoveRights cval,\"%s\",l_sec">};

// Links.
constexpr ScriptTemplate tplAddLinkComment{Ansi<u8"' Создать связь %s --> %s">};
constexpr ScriptTemplate tplRemoveLinkComment{Ansi<u8"' Удалить связь %s --> %s">};
constexpr ScriptTemplate tplAddChild{Ansi<u8"  cls.zrAddChildClass \"%s\"">};
constexpr ScriptTemplate tplRemoveChild{Ansi<u8"  cls.zrRemoveChildClass \"%s\"">};

// Filters.
constexpr ScriptTemplate tplFilterComment{Ansi<u8"' Фильтр %s">};
constexpr ScriptTemplate tplFilterVectorVar{
    Ansi<u8"set flt = mdl.zrGetClassVector.zrFilterVector">};
constexpr ScriptTemplate tplRemoveFilter{Ansi<u8"  flt.zrRemoveFilter \"%s\"">};
constexpr ScriptTemplate tplCreateFilter{Ansi<u8"  flt.zrCreateFilterEx \"%s\",\"%s\"">};
constexpr ScriptTemplate tplAddConstraint{Ansi<u8"  flt.zrAddConstraint \"%s\",\"%s\"">};
constexpr ScriptTemplate tplRemoveConstraint{Ansi<u8"  flt.zrRemoveConstraint \"%s\", \"%s\"">};

// Global modules.
constexpr ScriptTemplate tplModuleComment{Ansi<u8"' %s модуль %s">};
constexpr ScriptTemplate tplClassVectorVar{Ansi<u8"set cvec = mdl.zrGetClassVector">};
constexpr ScriptTemplate tplSetModule{Ansi<u8"  cvec.zrPatchFunction(\"%s\") = \"%s\"">};
constexpr ScriptTemplate tplRemoveModule{Ansi<u8"  cvec.zrRemovePatchFunction(\"%s\")">};

namespace {

constexpr NamedTemplate kCatalogue[] = {
    {"tplScriptHeader", tplScriptHeader},
    {"tplScriptFooter", tplScriptFooter},
    {"tplProgressStep", tplProgressStep},
    {"tplClassComment", tplClassComment},
    {"tplAddClass", tplAddClass},
    {"tplLocateClass", tplLocateClass},
    {"tplEndIfClass", tplEndIfClass},
    {"tplClassGUID", tplClassGUID},
    {"tplClassName", tplClassName},
    {"tplClassScreenName", tplClassScreenName},
    {"tplClassPosition", tplClassPosition},
    {"tplClassBase", tplClassBase},
    {"tplClassBlocked", tplClassBlocked},
    {"tplRemoveClass", tplRemoveClass},
    {"tplAttrComment", tplAttrComment},
    {"tplLocateAttrIfMissing", tplLocateAttrIfMissing},
    {"tplLocateAttrIfPresent", tplLocateAttrIfPresent},
    {"tplEndIfAttr", tplEndIfAttr},
    {"tplAddAttr", tplAddAttr},
    {"tplAttrNoInherit", tplAttrNoInherit},
    {"tplAttrGUID", tplAttrGUID},
    {"tplAttrName", tplAttrName},
    {"tplAttrType", tplAttrType},
    {"tplAttrDataType", tplAttrDataType},
    {"tplAttrScreenName", tplAttrScreenName},
    {"tplAttrAliasName", tplAttrAliasName},
    {"tplAttrGroup", tplAttrGroup},
    {"tplAttrFunctionCode", tplAttrFunctionCode},
    {"tplAttrBlocked", tplAttrBlocked},
    {"tplAttrMeasureUnit", tplAttrMeasureUnit},
    {"tplAttrMeasureEntity", tplAttrMeasureEntity},
    {"tplAttrForbidInput", tplAttrForbidInput},
    {"tplAttrPropsVar", tplAttrPropsVar},
    {"tplClearAttrProps", tplClearAttrProps},
    {"tplAddAttrProp", tplAddAttrProp},
    {"tplRemoveAttrComment", tplRemoveAttrComment},
    {"tplRemoveAttr", tplRemoveAttr},
    {"tplMoveAttrsComment", tplMoveAttrsComment},
    {"tplSwapAttrs", tplSwapAttrs},
    {"tplMoveAttrToEnd", tplMoveAttrToEnd},
    {"tplMoveAttrAfter", tplMoveAttrAfter},
    {"tplClassClearRightsNote", tplClassClearRightsNote},
    {"tplGiveClassRights", tplGiveClassRights},
    {"tplRemoveClassRights", tplRemoveClassRights},
    {"tplAttrClearRightsNote", tplAttrClearRightsNote},
    {"tplGiveAttrRights", tplGiveAttrRights},
    {"tplRemoveAttrRights", tplRemoveAttrRights},
    {"tplAttrsRightsLoopBegin", tplAttrsRightsLoopBegin},
    {"tplAttrsRightsLoopGive", tplAttrsRightsLoopGive},
    {"tplAttrsRightsLoopEnd", tplAttrsRightsLoopEnd},
    {"tplGroupRightsComment", tplGroupRightsComment},
    {"tplLocalSecurityVar", tplLocalSecurityVar},
    {"tplGiveClassRightsLocal", tplGiveClassRightsLocal},
    {"tplRemoveClassRightsLocal", tplRemoveClassRightsLocal},
    {"tplGiveAttrRightsLocal", tplGiveAttrRightsLocal},
    {"tplRemoveAttrRightsLocal", tplRemoveAttrRightsLocal},
    {"tplAddLinkComment", tplAddLinkComment},
    {"tplRemoveLinkComment", tplRemoveLinkComment},
    {"tplAddChild", tplAddChild},
    {"tplRemoveChild", tplRemoveChild},
    {"tplFilterComment", tplFilterComment},
    {"tplFilterVectorVar", tplFilterVectorVar},
    {"tplRemoveFilter", tplRemoveFilter},
    {"tplCreateFilter", tplCreateFilter},
    {"tplAddConstraint", tplAddConstraint},
    {"tplRemoveConstraint", tplRemoveConstraint},
    {"tplModuleComment", tplModuleComment},
    {"tplClassVectorVar", tplClassVectorVar},
    {"tplSetModule", tplSetModule},
    {"tplRemoveModule", tplRemoveModule},
};

} // namespace

std::span<const NamedTemplate> TemplateCatalogue() {
    return kCatalogue;
}

} // namespace kv
