#include "export/type_words.h"

#include "text/cp1251_literal.h"

#include <array>
#include <utility>

namespace kv::html {
namespace {

constexpr int FunctionKind = 1;
constexpr int ComputedKind = 2;

constexpr std::string_view FunctionPrefix = Cp1251<u8"функция">;
constexpr std::string_view ComputedPrefix = Cp1251<u8"вычисляемый:<br>&nbsp;">;

constexpr std::array<std::pair<std::string_view, std::string_view>, 10> DataTypeWords{{
    {"{DDF29044-F2DA-4457-9CA2-CA0F1E6501A6}", "integer"},
    {"{51AF1A06-C000-4ED4-940D-ADD3B199EB5E}", "double"},
    {"{751A3E7F-86DC-4527-91C8-79919F3B3FA3}", "string"},
    {"{B7672ACF-D5AA-4432-AA5C-ACF9FF8A27F7}", "text"},
    {"{1739DAD4-D175-4B0A-B2C7-55759916F7EF}", "boolean"},
    {"{BDB20E23-B5D7-4966-8110-6F4EFD8764BB}", "date"},
    {"{2B02B52B-7C4A-40A7-845A-DA553A1B0DA1}", "file"},
    {"{F0CA433A-74E7-47B0-958C-CC1EBAC73DA8}", "stream"},
    {"{428CC298-47D3-4D09-8B7C-E6F36518C724}", Cp1251<u8"размер">},
    {"{B6C89FE7-2B27-492C-962E-9940365E6201}", Cp1251<u8"шероховатость">},
}};

} // namespace

std::string AttributeTypeWords(std::int32_t kind, std::string_view data_type) {
    std::string words;
    if (kind == FunctionKind)
        words = FunctionPrefix;
    else if (kind == ComputedKind)
        words = ComputedPrefix;
    for (const auto& [identifier, word] : DataTypeWords) {
        if (identifier == data_type) {
            words += word;
            break;
        }
    }
    return words;
}

} // namespace kv::html
