// The text of a difference scenario that needs no kernel read: the comment lines that frame its
// eleven sections, the blocks a section writes for one class or attribute, the statements for
// class and attribute parameters that differ, and the rule that decides whether a property value
// differs. Pure: no Windows header.
#pragma once

#include "recording/recording_state.h"
#include "text/literal_encoding.h"

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

// How the difference writes a kernel's text into a statement: inside a string literal, or as a
// whole string expression (function code). The library gives the platform's placement, which
// carries every character; tests may give simpler ones.
struct TextWriters {
    std::string (*literal)(std::wstring_view text);
    std::string (*code)(std::wstring_view text);
};

// A block that addresses a class and then does what the statements say: tplAddClass [name] and
// the joined statements, two items. Nothing when there are no statements.
ScriptItems ClassBlock(const PlacedName& className, const ScriptItems& statements);

// The parameters of a class that the difference compares; texts as the kernel holds them, compared
// code unit by code unit.
struct ClassParameters {
    std::wstring screenName;
    bool blocked = false;
};

// The statements that give the current class the target's screen name and blocked flag, for
// those that differ, in that order.
ScriptItems ClassParameterStatements(const ClassParameters& target, const ClassParameters& current,
                                     const TextWriters& writers);

// The parameters of an attribute that the difference compares.
struct AttributeParameters {
    std::int32_t type = 0;
    std::array<std::uint8_t, 16> dataType{}; // the GUID's bytes as they lie in memory
    std::wstring functionCode;
    bool blocked = false;
    std::wstring measureUnit;
    std::wstring measureEntity;
    bool forbidInput = false;
};

// The statements that give the current attribute the target's parameters, for those that differ,
// in the order type, data type, function code, blocked, unit, entity, forbid input.
ScriptItems AttributeParameterStatements(const AttributeParameters& target,
                                         const AttributeParameters& current,
                                         const TextWriters& writers);

// A property value as the difference compares it: its text (the value converted to text), or
// nothing when the attribute has no property of that name. Values are equal when both exist with
// the same text: a scenario sets every value as text, so a number and its text are the same
// value, and a property that only the target has is always written, even with an empty value.
using PropertyText = std::optional<std::wstring>;
bool SamePropertyValue(const std::wstring& target, const PropertyText& current);

// The statement that sets a property of the scenario's current attribute.
std::string PropertyStatement(const PlacedName& name, const PlacedName& valueText);

// Single statements of the sections, names placed safely in their literals.
std::string AddChildStatement(const PlacedName& childName);
std::string RemoveChildStatement(const PlacedName& childName);
std::string MoveAttributeAfterStatement(const PlacedName& precedingName);
std::string AddConstraintStatement(const PlacedName& filterName, const PlacedName& value);
std::string RemoveConstraintStatement(const PlacedName& filterName, const PlacedName& value);

// The block of one attribute whose parameters or properties differ: the class and the attribute
// addressed, then the joined statements; with property statements, the property list variable
// and their joined text come last among the statements. Nothing when nothing differs.
ScriptItems AttributeBlock(const PlacedName& className, const PlacedName& attributeName,
                           ScriptItems statements, const ScriptItems& propertyStatements);

} // namespace kv
