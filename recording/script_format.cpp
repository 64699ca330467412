#include "recording/script_format.h"

#include "recording/char_set.h"
#include "recording/literal_encoding.h"

#include <stdexcept>

namespace kv {
namespace {

[[noreturn]] void Mismatch(std::string_view scriptTemplate, const char* what) {
    throw std::invalid_argument(std::string("Format: ") + what + " in template \"" +
                                std::string(scriptTemplate) + "\"");
}

} // namespace

std::string Format(std::string_view scriptTemplate, std::initializer_list<FormatValue> values) {
    std::string result;
    result.reserve(scriptTemplate.size() + 64);
    AppendFormat(result, scriptTemplate, values);
    return result;
}

void AppendFormat(std::string& result, std::string_view scriptTemplate,
                  std::initializer_list<FormatValue> values) {
    static constexpr CharSet kPlaceholder("%");
    auto next = values.begin();
    // The text between placeholders is copied a run at a time.
    for (std::size_t pos = 0;;) {
        const std::size_t percent = kPlaceholder.FindIn(scriptTemplate, pos);
        result.append(scriptTemplate.substr(pos, percent - pos));
        if (percent == scriptTemplate.size())
            break;
        if (percent + 1 == scriptTemplate.size())
            Mismatch(scriptTemplate, "a lone '%' at the end");
        const char directive = scriptTemplate[percent + 1];
        pos = percent + 2;
        if (directive != 's' && directive != 'd')
            Mismatch(scriptTemplate, "an unknown directive");
        if (next == values.end())
            Mismatch(scriptTemplate, "more placeholders than values");
        const auto& value = next->value();
        ++next;
        if (directive == 's') {
            if (!std::holds_alternative<std::string_view>(value))
                Mismatch(scriptTemplate, "an integer for a %s placeholder");
            result += std::get<std::string_view>(value);
        } else {
            if (!std::holds_alternative<std::int32_t>(value))
                Mismatch(scriptTemplate, "a text for a %d placeholder");
            result += IntegerText(std::get<std::int32_t>(value));
        }
    }
    if (next != values.end())
        Mismatch(scriptTemplate, "more values than placeholders");
}

} // namespace kv
