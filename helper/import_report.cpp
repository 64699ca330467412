#include "helper/import_report.h"

#include <array>
#include <utility>

namespace kv::import {

namespace {

struct SectionHeading {
    std::size_t underline;
    std::wstring_view heading;
};

// The sixth underline is shorter than its heading; the report has always been written so.
constexpr std::array<SectionHeading, 9> kSections = {{
    {44, L"КЛАССЫ И АТРИБУТЫ, ДОБАВЛЕННЫЕ ПОЛЬЗОВАТЕЛЕМ"},
    {47, L"СВЯЗИ МЕЖДУ КЛАССАМИ, ДОБАВЛЕННЫЕ ПОЛЬЗОВАТЕЛЕМ"},
    {46, L"ФИЛЬТРЫ И ИХ СОСТАВ, ДОБАВЛЕННЫЙ ПОЛЬЗОВАТЕЛЕМ"},
    {44, L"ГЛОБАЛЬНЫЕ МОДУЛИ, ДОБАВЛЕННЫЕ ПОЛЬЗОВАТЕЛЕМ"},
    {76, L"КЛАССЫ И АТРИБУТЫ, УДАЛЕННЫЕ ПОЛЬЗОВАТЕЛЕМ, АТРИБУТЫ, ИЗМЕННЫЕ ПОЛЬЗОВАТЕЛЕМ"},
    {32, L"ФИЛЬТРЫ, УДАЛЕННЫЕ ПОЛЬЗОВАТЕЛЕМ И УДАЛЕННЫЙ СОСТАВ"},
    {55, L"КОПИРОВАНИЕ ПАРАМЕТРОВ БЕЗОПАСНОСТИ БЕЗ ЗАПИСИ В ЖУРНАЛ"},
    {62, L"ПЕРЕНОС ПОРЯДКА СЛЕДОВАНИЯ АТРИБУТОВ ИЗ СТРУКТУРЫ ПОЛЬЗОВАТЕЛЯ"},
    {44, L"КОММЕНТИРОВАНИЕ ГРУППЫ СОБЫТИЙ UserGroup.xml"},
}};

// The parts of a line joined without separators.
std::wstring Joined(std::initializer_list<std::wstring_view> parts) {
    std::wstring line;
    for (std::wstring_view part : parts)
        line += part;
    return line;
}

} // namespace

const std::wstring_view kEventGroupMissing = L"группа не найдена";

void ImportReport::Add(std::wstring line) {
    lines_.push_back(std::move(line));
}

void ImportReport::StartSection(ReportSection section) {
    const SectionHeading& heading = kSections.at(static_cast<std::size_t>(section) - 1);
    Add(std::wstring(heading.underline, L'_'));
    Add(std::wstring(heading.heading));
}

void ImportReport::AddedClass(std::wstring_view server_class) {
    Add(Joined({server_class, L" - добавлен класс"}));
}

void ImportReport::AddedAttribute(std::wstring_view server_class, std::wstring_view attribute) {
    Add(Joined({server_class, L".", attribute, L" - добавлен атрибут"}));
}

void ImportReport::AddedLink(std::wstring_view server_parent, std::wstring_view child,
                             bool parent_created_by_user) {
    Add(Joined({server_parent, L"->", child,
                parent_created_by_user
                    ? L" - добавлена связь между классами, родительский класс создал пользователь"
                    : L" - добавлена связь между классами, родительский класс дистрибутивный"}));
}

void ImportReport::AddedFilter(std::wstring_view filter) {
    Add(Joined({filter, L" - добавлен фильтр и его состав"}));
}

void ImportReport::AddedConstraint(std::wstring_view filter, std::wstring_view value) {
    Add(Joined({filter, L".", value, L" - константа добвлена в состав фильтра"}));
}

void ImportReport::AddedModule(std::wstring_view module) {
    Add(Joined({module, L" - добавлен модуль"}));
}

void ImportReport::DeletedClass(std::wstring_view server_class) {
    Add(Joined({server_class, L" - класс удален"}));
}

void ImportReport::DeletedAttribute(std::wstring_view server_class, std::wstring_view attribute) {
    Add(Joined({server_class, L".", attribute, L" - атрибут удален"}));
}

void ImportReport::ChangedAttribute(std::wstring_view user_class, std::wstring_view attribute,
                                    std::wstring_view change_list) {
    Add(Joined({user_class, L".", attribute, L" - отредактировано: ", change_list}));
}

void ImportReport::DeletedFilter(std::wstring_view filter) {
    Add(Joined({filter, L" - фильтр удален"}));
}

void ImportReport::ChangedFilter(std::wstring_view filter, std::wstring_view distribution_list,
                                 std::wstring_view user_list) {
    Add(Joined({filter, L" - изменен состав фильтра:"}));
    Add(Joined({L"  Дистрибутив : ", distribution_list}));
    Add(Joined({L"  Пользователь: ", user_list}));
}

void ImportReport::EventGroupFailed(std::wstring_view message) {
    Add(Joined({L"Ошибка работы с UserGroup.xml: ", message}));
}

std::wstring ImportReport::Text() const {
    std::wstring text;
    for (const std::wstring& line : lines_)
        text += line + L"\r\n";
    return text;
}

std::wstring ReportFileName(unsigned number) {
    return L"zsImportAppendedToSvr" + (number == 0 ? std::wstring() : std::to_wstring(number)) +
           L".log";
}

} // namespace kv::import
