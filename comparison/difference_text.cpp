#include "comparison/difference_text.h"

#include "recording/script_buffer_text.h"
#include "text/cp1251_literal.h"
#include "text/guid_text.h"
#include "text/literal_encoding.h"
#include "text/scenario_templates.h"
#include "text/script_format.h"

#include <utility>

namespace kv {
namespace {

template <Cp1251Literal text> constexpr std::string_view Ansi = Cp1251<text>;

struct SectionFrame {
    std::string_view begin;
    std::string_view end;
};

constexpr std::array<SectionFrame, kDifferenceSectionCount> kSectionFrames = {{
    {Ansi<u8"' Создаю отсутствующие классы и их атрибуты - begin">,
     Ansi<u8"' Создаю отсутствующие классы и их атрибуты - end">},
    {Ansi<u8"' Редактирую параметры классов - begin">,
     Ansi<u8"' Редактирую параметры классов - end">},
    {Ansi<u8"' Удаляю старые классы - begin">, Ansi<u8"' Удаляю старые классы - end">},
    {Ansi<u8"' Записываю подчиненные классы - begin">,
     Ansi<u8"' Записываю подчиненные классы - end">},
    {Ansi<u8"' Удаляю старые подчиненные - begin">, Ansi<u8"' Удаляю старые подчиненные - end">},
    {Ansi<u8"' Создаю атрибуты имеющихся классов - begin">,
     Ansi<u8"' Создаю атрибуты имеющихся классов - end">},
    {Ansi<u8"' Удаляю старые атрибуты - begin">, Ansi<u8"' Удаляю старые атрибуты - end">},
    {Ansi<u8"' Редактирую параметры атрибутов - begin">,
     Ansi<u8"' Редактирую параметры атрибутов - end">},
    {Ansi<u8"' Создаю фильтры - begin">, Ansi<u8"' Создаю фильтры - end">},
    {Ansi<u8"' Удаляю фильтры - begin">, Ansi<u8"' Удаляю фильтры - end">},
    {Ansi<u8"' Восстанавливаю безопасность - begin">,
     Ansi<u8"' Восстанавливаю безопасность - end">},
}};

const SectionFrame& FrameOf(DifferenceSection section) {
    return kSectionFrames.at(static_cast<std::size_t>(section));
}

} // namespace

std::string_view SectionBeginLine(DifferenceSection section) {
    return FrameOf(section).begin;
}

std::string_view SectionEndLine(DifferenceSection section) {
    return FrameOf(section).end;
}

std::string JoinedText(const ScriptItems& lines) {
    // A line list is joined exactly as a scenario file joins its items.
    return ScenarioFileText(lines);
}

ScriptItems ClassBlock(const PlacedName& className, const ScriptItems& statements) {
    if (statements.empty())
        return {};
    return {Format(tplAddClass, {className.literal}), JoinedText(statements)};
}

ScriptItems ClassParameterStatements(const ClassParameters& target, const ClassParameters& current,
                                     const TextWriters& writers) {
    ScriptItems statements;
    if (target.screenName != current.screenName)
        statements.push_back(Format(tplClassScreenName, {writers.literal(target.screenName)}));
    if (target.blocked != current.blocked)
        statements.push_back(Format(tplClassBlocked, {BoolLiteral(target.blocked)}));
    return statements;
}

ScriptItems AttributeParameterStatements(const AttributeParameters& target,
                                         const AttributeParameters& current,
                                         const TextWriters& writers) {
    ScriptItems statements;
    if (target.type != current.type)
        statements.push_back(Format(tplAttrType, {target.type}));
    if (target.dataType != current.dataType)
        statements.push_back(Format(tplAttrDataType, {GuidText(target.dataType)}));
    if (target.functionCode != current.functionCode)
        statements.push_back(Format(tplAttrFunctionCode, {writers.code(target.functionCode)}));
    if (target.blocked != current.blocked)
        statements.push_back(Format(tplAttrBlocked, {BoolLiteral(target.blocked)}));
    if (target.measureUnit != current.measureUnit)
        statements.push_back(Format(tplAttrMeasureUnit, {writers.literal(target.measureUnit)}));
    if (target.measureEntity != current.measureEntity)
        statements.push_back(Format(tplAttrMeasureEntity, {writers.literal(target.measureEntity)}));
    if (target.forbidInput != current.forbidInput)
        statements.push_back(Format(tplAttrForbidInput, {BoolLiteral(target.forbidInput)}));
    return statements;
}

bool SamePropertyValue(const std::wstring& target, const PropertyText& current) {
    return current && *current == target;
}

std::string PropertyStatement(const PlacedName& name, const PlacedName& valueText) {
    return Format(tplAddAttrProp, {name.literal, valueText.literal});
}

std::string AddChildStatement(const PlacedName& childName) {
    return Format(tplAddChild, {childName.literal});
}

std::string RemoveChildStatement(const PlacedName& childName) {
    return Format(tplRemoveChild, {childName.literal});
}

std::string MoveAttributeAfterStatement(const PlacedName& precedingName) {
    return Format(tplMoveAttrAfter, {precedingName.literal});
}

std::string AddConstraintStatement(const PlacedName& filterName, const PlacedName& value) {
    return Format(tplAddConstraint, {filterName.literal, value.literal});
}

std::string RemoveConstraintStatement(const PlacedName& filterName, const PlacedName& value) {
    return Format(tplRemoveConstraint, {filterName.literal, value.literal});
}

ScriptItems AttributeBlock(const PlacedName& className, const PlacedName& attributeName,
                           ScriptItems statements, const ScriptItems& propertyStatements) {
    if (!propertyStatements.empty()) {
        statements.emplace_back(tplAttrPropsVar);
        statements.push_back(JoinedText(propertyStatements));
    }
    if (statements.empty())
        return {};
    return {Format(tplAddClass, {className.literal}), Format(tplAddAttr, {attributeName.literal}),
            JoinedText(statements)};
}

} // namespace kv
