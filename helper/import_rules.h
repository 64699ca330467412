// The rules of the import that need no kernel: free names, what counts as a change of an
// attribute and how it is marked, the constraint list of a filter and the comments put into
// function code. Pure: no Windows header, texts are wide as the kernel gives them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::import {

// Marks put in front of an existing text of the server structure.
inline constexpr std::wstring_view kAddedMark = L"(+)";
inline constexpr std::wstring_view kDeletedMark = L"(-)";
inline constexpr std::wstring_view kChangedFilterMark = L"(!)";
// The comment line put in front of the code of a function attribute added by the import.
inline constexpr std::wstring_view kAddedFunctionComment =
    L"' (+) - функция добавлена при импорте\r\n";
// zrType of a function attribute.
inline constexpr std::int32_t kFunctionAttribute = 1;

// The first of name, name1, name2, ... that is not taken.
std::wstring FirstFreeName(std::wstring_view name,
                           const std::function<bool(const std::wstring&)>& taken);

// What the import compares between the user's attribute and the distribution's.
struct ComparedAttribute {
    std::wstring name;
    std::wstring data_type; // the GUID's registry text: equal texts are equal identifiers
    std::int32_t type = 0;
    std::wstring alias_name;
    std::wstring function_code;
    std::wstring measure_unit;
    std::wstring measure_entity;
    bool forbid_input = false;
    std::int32_t precision = 0;
};

// The words of the differences, each put in front of those found before it, so they read in
// the reverse order of the tests (", точность, наименование"); "" when nothing differs.
std::wstring ChangeList(const ComparedAttribute& user, const ComparedAttribute& distribution);
// "(! точность, наименование)" from ", точность, наименование"; "" from "".
std::wstring ChangeMark(std::wstring_view change_list);

// Each constraint value followed by ";" ("A;B;"), "" without constraints.
std::wstring ConstraintList(const std::vector<std::wstring>& constraints);

// The lines of a text: a line ends at CR LF, CR or LF; a line end at the very end of the text
// starts no further line, and "" has no lines.
std::vector<std::wstring> SplitLines(std::wstring_view text);

// The user's code of a changed function, commented out, to put in front of the server's code:
// "' <mark> Код функции пользователя:", each line as "'  <line>", then an empty line.
std::wstring UserCodeBlock(std::wstring_view change_mark, std::wstring_view user_code);
// The comment line put in front of a function deleted by the user; inherited_in names the
// server class where the import found an inherited attribute ("" for an own one).
std::wstring DeletedFunctionComment(std::wstring_view inherited_in);

} // namespace kv::import
