#include "helper/import_rules.h"

namespace kv::import {

std::wstring FirstFreeName(std::wstring_view name,
                           const std::function<bool(const std::wstring&)>& taken) {
    std::wstring candidate(name);
    for (unsigned number = 1; taken(candidate); ++number)
        candidate = std::wstring(name) + std::to_wstring(number);
    return candidate;
}

std::wstring ChangeList(const ComparedAttribute& user, const ComparedAttribute& distribution) {
    std::wstring list;
    auto note = [&list](bool differs, std::wstring_view word) {
        if (differs)
            list.insert(0, word);
    };
    note(user.name != distribution.name, L", наименование");
    note(user.data_type != distribution.data_type, L", тип данных");
    note(user.type != distribution.type, L", тип атрибута");
    note(user.alias_name != distribution.alias_name, L", алиас");
    note(user.function_code != distribution.function_code, L", функция");
    note(user.measure_unit != distribution.measure_unit, L", ЕИ");
    note(user.measure_entity != distribution.measure_entity, L", класс ЕИ");
    note(user.forbid_input != distribution.forbid_input, L", запрет ввода");
    note(user.precision != distribution.precision, L", точность");
    return list;
}

std::wstring ChangeMark(std::wstring_view change_list) {
    if (change_list.empty())
        return {};
    // The list's leading comma gives way to "(!"; the blank after it stays.
    return L"(!" + std::wstring(change_list.substr(1)) + L")";
}

std::wstring ConstraintList(const std::vector<std::wstring>& constraints) {
    std::wstring list;
    for (const std::wstring& value : constraints)
        list += value + L";";
    return list;
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::wstring UserCodeBlock(std::wstring_view change_mark, std::wstring_view user_code) {
    std::wstring block = L"' " + std::wstring(change_mark) + L" Код функции пользователя:\r\n";
    for (const std::wstring& line : SplitLines(user_code))
        block += L"'  " + line + L"\r\n";
    return block + L"\r\n";
}

std::wstring DeletedFunctionComment(std::wstring_view inherited_in) {
    if (inherited_in.empty())
        return L"' (-) Функция удалена\r\n";
    return L"' (-" + std::wstring(inherited_in) + L") Функция удалена\r\n";
}

} // namespace kv::import
