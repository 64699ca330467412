#include "sample_structures.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace export_test {
namespace {

constexpr const char* Integer = "{DDF29044-F2DA-4457-9CA2-CA0F1E6501A6}";
constexpr const char* Double = "{51AF1A06-C000-4ED4-940D-ADD3B199EB5E}";
constexpr const char* String = "{751A3E7F-86DC-4527-91C8-79919F3B3FA3}";
constexpr const char* Size = "{428CC298-47D3-4D09-8B7C-E6F36518C724}";
constexpr const char* Roughness = "{B6C89FE7-2B27-492C-962E-9940365E6201}";
constexpr const char* Unknown = "{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}";

} // namespace

StructureSpec GoldenStructure() {
    StructureSpec s;
    s.model_name = "Тестовая модель";
    s.classes = {
        {"Деталь",
         "Изделие-деталь",
         {
             {"Масса", 0, Double, "Масса детали", {{"Единица", "кг"}, {"Точность", 3}}},
             {"Расчет", 1, Integer, "", {}},
             {"Объем", 2, Size, "Объем детали", {{"Формула", "a*b*c"}}},
             {"Код", 3, Unknown, "Внутренний код", {{"Длина", 12}}},
             {"Прочее", 2, Unknown, "", {{"Заметка", ""}}},
         }},
        {"Сборка",
         "",
         {
             {"Состав", 1, Unknown, "Состав сборки", {{"Вид", "узел"}}},
             {"Шероховатость", 0, Roughness, "", {}},
         }},
        {"Материал", "Сырье", {}},
    };
    s.links = {
        {"Деталь", "Материал"}, {"Сборка", "Деталь"}, {"Сборка", "Сборка"}, {"Материал", "Деталь"}};
    s.filters = {{"Основной", "Главный фильтр", {"Деталь", "Сборка"}},
                 {"Безымянный", "", {"Материал"}},
                 {"Пустой", "Без состава", {}}};
    return s;
}

StructureSpec EmptyStructure() {
    StructureSpec s;
    s.model_name = "Пустая";
    return s;
}

StructureSpec SpecialCharacterStructure() {
    StructureSpec s;
    s.model_name = "<i>Модель</i> & \"кавычки\"";
    s.classes = {
        {"A<B",
         "x > y & \"z\"",
         {{"a<b>&amp;", 0, String, "<script>alert(1)</script>", {{"k&\"v\"", "1 < 2 & 'q'"}}}}},
        {"Tom & Jerry", "", {{"Имя", 0, String, "", {}}}},
        {"Say \"hi\" x=1", "", {{"Имя", 0, String, "", {}}}},
        {"it's `x` y", "", {}},
        {"Plain", "", {{"Имя", 0, String, "", {}}}},
    };
    s.links = {{"A<B", "Tom & Jerry"},           {"A<B", "Say \"hi\" x=1"}, {"Tom & Jerry", "A<B"},
               {"Say \"hi\" x=1", "it's `x` y"}, {"Plain", "A<B"},          {"Plain", "Plain"}};
    s.filters = {{"F<1>", "a & b", {"A<B", "Say \"hi\" x=1", "it's `x` y"}}};
    return s;
}

std::string Cp1251FromUtf8(const std::string& utf8) {
    std::string result;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            result += static_cast<char>(lead);
            ++i;
            continue;
        }
        if (i + 1 >= utf8.size() || (lead & 0xE0) != 0xC0)
            throw std::invalid_argument("not ASCII or Russian: " + utf8);
        const unsigned code =
            ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
        if (code >= 0x410 && code <= 0x44F)
            result += static_cast<char>(0xC0 + (code - 0x410));
        else if (code == 0x401)
            result += '\xA8';
        else if (code == 0x451)
            result += '\xB8';
        else
            throw std::invalid_argument("not ASCII or Russian: " + utf8);
        i += 2;
    }
    return result;
}

} // namespace export_test
