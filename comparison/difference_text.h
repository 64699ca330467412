// The text of a difference scenario that needs no kernel read: the comment lines that frame its
// eleven sections, the blocks a section writes for one class or attribute, the statements for
// class and attribute parameters that differ, and the rule that decides whether a property value
// differs. Pure: no Windows header.
#pragma once

#include "recording/recording_state.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// The sections in output order; each is framed by its begin and end comment line.
enum class DifferenceSection {
    MissingClasses,
    ClassParameters,
    RemovedClasses,
    ChildLinks,
    RemovedChildLinks,
    NewAttributes,
    RemovedAttributes,
    AttributeParameters,
    NewFilters,
    RemovedFilters,
    Rights,
};
constexpr int kDifferenceSectionCount = 11;

// Windows-1251 comment lines.
std::string_view SectionBeginLine(DifferenceSection section);
std::string_view SectionEndLine(DifferenceSection section);

// The joined text of a line list: every item followed by CR LF. Moved into the scenario as one
// item, so the block is followed by one empty line in the file.
std::string JoinedText(const ScriptItems& lines);

// A block that addresses a class and then does what the statements say: tplAddClass [name] and
// the joined statements, two items. Nothing when there are no statements.
ScriptItems ClassBlock(std::string_view className, const ScriptItems& statements);

// The parameters of a class that the difference compares.
struct ClassParameters {
    std::string screenName;
    bool blocked = false;
};

// The statements that give the current class the target's screen name and blocked flag, for
// those that differ, in that order.
ScriptItems ClassParameterStatements(const ClassParameters& target, const ClassParameters& current);

// The parameters of an attribute that the difference compares.
struct AttributeParameters {
    std::int32_t type = 0;
    std::array<std::uint8_t, 16> dataType{}; // the GUID's bytes as they lie in memory
    std::string functionCode;
    bool blocked = false;
    std::string measureUnit;
    std::string measureEntity;
    bool forbidInput = false;
};

// The statements that give the current attribute the target's parameters, for those that differ,
// in the order type, data type, function code, blocked, unit, entity, forbid input.
ScriptItems AttributeParameterStatements(const AttributeParameters& target,
                                         const AttributeParameters& current);

// A property value as the difference compares it: its text (the value converted to text), or
// nothing when the attribute has no property of that name. Values are equal when both exist with
// the same text: a scenario sets every value as text, so a number and its text are the same
// value, and a property that only the target has is always written, even with an empty value.
using PropertyText = std::optional<std::string>;
bool SamePropertyValue(const std::string& target, const PropertyText& current);

// The statement that sets a property of the scenario's current attribute.
std::string PropertyStatement(std::string_view name, std::string_view valueText);

// Single statements of the sections, names placed safely in their literals.
std::string AddChildStatement(std::string_view childName);
std::string RemoveChildStatement(std::string_view childName);
std::string MoveAttributeAfterStatement(std::string_view precedingName);
std::string AddConstraintStatement(std::string_view filterName, std::string_view value);
std::string RemoveConstraintStatement(std::string_view filterName, std::string_view value);

// The block of one attribute whose parameters or properties differ: the class and the attribute
// addressed, then the joined statements; with property statements, the property list variable
// and their joined text come last among the statements. Nothing when nothing differs.
ScriptItems AttributeBlock(std::string_view className, std::string_view attributeName,
                           ScriptItems statements, const ScriptItems& propertyStatements);

} // namespace kv
