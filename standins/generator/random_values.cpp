#include "random_values.h"

#include "random_texts.h"

namespace kvgen {
namespace {

using zk::Value;
using zk::ValueType;

std::int64_t Wide(Dice& dice) {
    const std::uint64_t high = dice.Raw();
    const std::uint64_t low = dice.Raw();
    return static_cast<std::int64_t>(high << 32 | low);
}

std::string PropertyText(Dice& dice) {
    std::string text = ScreenText(dice);
    if (dice.Chance(15))
        text += "\nвторая строка";
    return text;
}

} // namespace

Value RandomValue(Dice& dice) {
    switch (dice.Below(19)) {
    case 0:
    case 1:
    case 2:
        return Value::Text(PropertyText(dice));
    case 3:
        return Value::Integer(ValueType::I4, static_cast<std::int32_t>(dice.Raw()));
    case 4:
        return Value::Integer(ValueType::I2, dice.Between(-32768, 32767));
    case 5:
        return Value::Integer(ValueType::I1, dice.Between(-128, 127));
    case 6:
        return Value::Unsigned(ValueType::UI1, dice.Below(256));
    case 7:
        return Value::Unsigned(ValueType::UI2, dice.Below(65536));
    case 8:
        return Value::Unsigned(ValueType::UI4, dice.Raw());
    case 9:
        return Value::Integer(ValueType::I8, Wide(dice));
    case 10:
        return Value::Unsigned(ValueType::UI8, static_cast<std::uint64_t>(Wide(dice)));
    case 11:
        return Value::Real(ValueType::R8, dice.Between(-4000000, 4000000) / 8.0);
    case 12:
        return Value::Real(ValueType::R4, dice.Between(-100000, 100000) / 4.0);
    case 13:
        return Value::Boolean(dice.Chance(50));
    case 14:
        return Value::Integer(ValueType::Currency, dice.Between(-2000000000, 2000000000));
    case 15: // a day between 1998 and 2026, at a quarter of a day
        return Value::Real(ValueType::Date, 36000 + dice.Between(0, 40000) / 4.0);
    case 16:
        return Value::Integer(ValueType::Int, static_cast<std::int32_t>(dice.Raw()));
    case 17:
        return Value::Unsigned(ValueType::UInt, dice.Raw());
    default:
        return dice.Chance(50) ? Value{} : Value::Integer(ValueType::Null, 0);
    }
}

void FillAttribute(Dice& dice, const std::vector<zk::Guid>& data_types, int max_properties,
                   zk::AttributeData& data) {
    data.type = dice.Between(0, 15);
    data.data_type = dice.Chance(30) ? zk::Guid{} : dice.Pick(data_types);
    data.screen_name = ScreenText(dice);
    data.alias_name = ShortWord(dice);
    data.group = ShortWord(dice);
    data.function_code = FunctionCode(dice);
    data.blocked = dice.Chance(15);
    data.measure_unit = ShortWord(dice);
    data.measure_entity = ShortWord(dice);
    data.forbid_input = dice.Chance(25);
    data.precision = dice.Between(0, 6);
    const std::uint32_t properties = dice.Below(static_cast<std::uint32_t>(max_properties) + 1);
    for (std::uint32_t i = 0; i < properties; ++i) {
        std::string name = PropertyName(dice);
        data.properties.Set(name, RandomValue(dice));
    }
}

} // namespace kvgen
