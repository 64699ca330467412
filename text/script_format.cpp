#include "text/script_format.h"

#include "text/literal_encoding.h"

#include <stdexcept>

namespace kv {

void ThrowTemplateMismatch(std::string_view scriptTemplate, const char* what) {
    throw std::invalid_argument(std::string("Format: ") + what + " in template \"" +
                                std::string(scriptTemplate) + "\"");
}

std::string Format(const ScriptTemplate& scriptTemplate,
                   std::initializer_list<FormatValue> values) {
    std::string result;
    result.reserve(scriptTemplate.text().size() + 64);
    AppendFormat(result, scriptTemplate, values);
    return result;
}

std::string Format(std::string_view scriptTemplate, std::initializer_list<FormatValue> values) {
    return Format(ScriptTemplate(scriptTemplate), values);
}

void AppendFormat(std::string& result, const ScriptTemplate& scriptTemplate,
                  std::initializer_list<FormatValue> values) {
    const std::string_view text = scriptTemplate.text();
    auto next = values.begin();
    std::size_t copied = 0;
    for (const ScriptTemplate::Placeholder& placeholder : scriptTemplate.placeholders()) {
        result.append(text.substr(copied, placeholder.position - copied));
        copied = placeholder.position + 2;
        if (next == values.end())
            ThrowTemplateMismatch(text, "more placeholders than values");
        const auto& value = next->value();
        ++next;
        if (!placeholder.integer) {
            if (!std::holds_alternative<std::string_view>(value))
                ThrowTemplateMismatch(text, "an integer for a %s placeholder");
            result += std::get<std::string_view>(value);
        } else {
            if (!std::holds_alternative<std::int32_t>(value))
                ThrowTemplateMismatch(text, "a text for a %d placeholder");
            result += IntegerText(std::get<std::int32_t>(value));
        }
    }
    result.append(text.substr(copied));
    if (next != values.end())
        ThrowTemplateMismatch(text, "more values than placeholders");
}

void AppendFormat(std::string& result, std::string_view scriptTemplate,
                  std::initializer_list<FormatValue> values) {
    AppendFormat(result, ScriptTemplate(scriptTemplate), values);
}

} // namespace kv
