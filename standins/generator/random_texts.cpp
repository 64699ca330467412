#include "random_texts.h"

namespace kvgen {
namespace {

std::string Numbered(std::string text, int serial) {
    return text + std::to_string(serial);
}

// Words of a name: blanks between them, now and then "%", "№" or a quoted word.
std::string NamePrefix(Dice& dice, std::initializer_list<std::string_view> nouns) {
    std::string name(dice.Pick(nouns));
    if (dice.Chance(40))
        name += " " + std::string(dice.Pick({"основной", "сборочный", "100%", "%", "№", "Ёмкость",
                                             "main", "доп.", "(вр.)", "a b"}));
    if (dice.Chance(4))
        name += " \"Б\"";
    name += dice.Chance(70) ? " " : "_";
    return name;
}

std::string_view LineBreak(Dice& dice) {
    return dice.Chance(70) ? "\r\n" : dice.Chance(50) ? "\n" : "\r";
}

} // namespace

zk::Guid DrawnGuid(Dice& dice) {
    zk::Guid guid;
    for (std::size_t i = 0; i < guid.bytes.size(); i += 4) {
        const std::uint32_t word = dice.Raw();
        for (std::size_t k = 0; k < 4; ++k)
            guid.bytes[i + k] = static_cast<std::uint8_t>(word >> (8 * k));
    }
    if (guid.IsNull())
        guid.bytes[0] = 1;
    return guid;
}

std::string ClassName(Dice& dice, int serial) {
    return Numbered(
        NamePrefix(dice, {"Деталь", "Узел", "Сборка", "Операция", "Переход", "Оснастка", "Материал",
                          "Изделие", "Part", "Item", "Tool stage", "Объём"}),
        serial);
}

std::string AttributeName(Dice& dice, int serial) {
    return Numbered(NamePrefix(dice, {"Масса", "Длина", "Обозначение", "Код", "Mass", "Note",
                                      "Время операции", "Цена за шт.", "Допуск", "Ёмкость"}),
                    serial);
}

std::string FilterName(Dice& dice, int serial) {
    return Numbered(NamePrefix(dice, {"Фильтр", "Изделия", "Products", "Все детали"}), serial);
}

std::string ModuleName(Dice& dice, int serial) {
    return Numbered(std::string(dice.Pick({"Модуль_", "Common_", "Расчёт ", "Util %"})), serial);
}

std::string GroupIdentifier(Dice& dice, int serial) {
    return Numbered(std::string(dice.Pick({"grp", "группа_", "Цех "})), serial);
}

std::string GroupName(Dice& dice, int serial) {
    return Numbered(
        std::string(dice.Pick({"Конструкторы ", "Технологи ", "Shop floor ", "Мастера участка "})),
        serial);
}

std::string PropertyName(Dice& dice) {
    return std::string(dice.Pick({"Мин. значение", "MaxValue", "Формат \"вывода\"", "Note", "Ед. %",
                                  "Порядок", "Видимость", "Шаг"}));
}

std::string ScreenText(Dice& dice) {
    if (dice.Chance(10))
        return {};
    std::string text;
    const std::uint32_t words = 1 + dice.Below(4);
    for (std::uint32_t i = 0; i < words; ++i) {
        if (i)
            text += dice.Chance(5) ? std::string(LineBreak(dice)) : " ";
        text += dice.Pick({"Деталь", "вала", "сборочная", "единица", "Масса,", "кг", "50%",
                           "\"Тип\"", "of", "the", "part", "№", "ёмкость", "Ширина (мм)"});
    }
    return text;
}

std::string ShortWord(Dice& dice) {
    return std::string(
        dice.Pick({"", "", "кг", "мм", "шт.", "%", "m/s", "масса", "длина", "Общие", "Физ."}));
}

std::string FunctionCode(Dice& dice) {
    if (dice.Chance(50))
        return {};
    std::string code;
    if (dice.Chance(10))
        code += LineBreak(dice);
    const std::uint32_t lines = 1 + dice.Below(3);
    for (std::uint32_t i = 0; i < lines; ++i) {
        if (i)
            code += "\r\n";
        code += dice.Pick({"Value = Value * 2", "if x > 0 then y = \"да\"", "' расчёт массы",
                           "Result = \"a\" & \"б\"", "s = \"100%\""});
    }
    if (dice.Chance(10))
        code += "\r\n";
    return code;
}

std::string ModuleText(Dice& dice) {
    std::string text;
    if (dice.Chance(15))
        text += "\r\n";
    const std::uint32_t procedures = dice.Below(3);
    for (std::uint32_t i = 0; i < procedures; ++i) {
        // One draw per statement: the order of evaluation inside an expression is not fixed.
        const std::string comment(dice.Pick({"Расчёт", "Проверка \"кода\"", "Util 100%"}));
        const std::string factor = std::to_string(dice.Between(2, 9));
        const std::string name = "F" + std::to_string(i);
        text += "' " + comment + "\r\nfunction " + name + "(x)\r\n  " + name + " = x * " + factor +
                " & \"шт.\"\r\nend function\r\n";
    }
    if (dice.Chance(20) && !text.empty())
        text.resize(text.size() - 2); // no line break at the end
    return text;
}

} // namespace kvgen
