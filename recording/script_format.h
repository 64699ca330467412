// Filling a scenario template: "%s" takes a text, "%d" a 32-bit signed integer, left to right.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace kv {

// One value for a placeholder. Texts are viewed, not copied: the caller keeps them alive for
// the call of Format.
class FormatValue {
public:
    FormatValue(std::string_view text) : value_(text) {}
    FormatValue(const char* text) : value_(std::string_view(text)) {}
    FormatValue(const std::string& text) : value_(std::string_view(text)) {}
    FormatValue(std::int32_t number) : value_(number) {}

    const std::variant<std::string_view, std::int32_t>& value() const { return value_; }

private:
    std::variant<std::string_view, std::int32_t> value_;
};

// The template with its placeholders replaced by the values, in order. A "%" inside an
// inserted value is never interpreted. Placeholders and values that do not match (in number
// or kind) and any other "%" directive in the template are programming errors:
// std::invalid_argument.
std::string Format(std::string_view scriptTemplate, std::initializer_list<FormatValue> values);

// The same, appended to `out`.
void AppendFormat(std::string& out, std::string_view scriptTemplate,
                  std::initializer_list<FormatValue> values);

} // namespace kv
