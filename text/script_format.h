// Filling a scenario template: "%s" takes a text, "%d" a 32-bit signed integer, left to right.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace kv {

// A text as a template needs it (a literal, a comment, HTML): the text itself, viewed, when
// nothing in it needs encoding, else the encoded copy. Most texts need nothing, and a large
// scenario or page places millions of them. A viewed text must outlive this object.
class EncodedText {
public:
    static EncodedText Plain(std::string_view text) { return EncodedText(text, {}, false); }
    static EncodedText Encoded(std::string text) { return EncodedText({}, std::move(text), true); }
    operator std::string_view() const noexcept {
        return encoded_ ? std::string_view(text_) : plain_;
    }

private:
    EncodedText(std::string_view plain, std::string text, bool encoded)
        : plain_(plain), text_(std::move(text)), encoded_(encoded) {}

    std::string_view plain_;
    std::string text_;
    bool encoded_;
};

// One value for a placeholder. Texts are viewed, not copied: the caller keeps them alive for
// the call of Format.
class FormatValue {
public:
    FormatValue(std::string_view text) : value_(text) {}
    FormatValue(const char* text) : value_(std::string_view(text)) {}
    FormatValue(const std::string& text) : value_(std::string_view(text)) {}
    FormatValue(std::int32_t number) : value_(number) {}
    // Any other text that views as a string_view.
    template <class Text>
    requires(std::is_convertible_v<const Text&, std::string_view> &&
             !std::is_convertible_v<const Text&, const char*> &&
             !std::is_same_v<Text, std::string> && !std::is_same_v<Text, std::string_view>)
        FormatValue(const Text& text)
        : value_(std::string_view(text)) {}

    const std::variant<std::string_view, std::int32_t>& value() const { return value_; }

private:
    std::variant<std::string_view, std::int32_t> value_;
};

// A template that does not match its values, or holds a "%" that is no placeholder: a
// programming error, std::invalid_argument naming the template.
[[noreturn]] void ThrowTemplateMismatch(std::string_view scriptTemplate, const char* what);

// A template with its placeholders found once, when it is made: at compile time for the
// catalogues of scenario and page texts, which are filled millions of times in a large
// recording and are then never searched again. Any "%" that is not "%s" or "%d" is refused.
class ScriptTemplate {
public:
    struct Placeholder {
        std::uint32_t position; // of its "%"
        bool integer;           // "%d"; else "%s"
    };
    static constexpr std::size_t kMostPlaceholders = 8;

    constexpr explicit ScriptTemplate(std::string_view text) : text_(text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '%')
                continue;
            if (i + 1 == text.size())
                ThrowTemplateMismatch(text, "a lone '%' at the end");
            const char directive = text[i + 1];
            if (directive != 's' && directive != 'd')
                ThrowTemplateMismatch(text, "an unknown directive");
            if (count_ == kMostPlaceholders)
                ThrowTemplateMismatch(text, "more placeholders than a template may hold");
            placeholders_[count_++] = {static_cast<std::uint32_t>(i), directive == 'd'};
            ++i;
        }
    }

    constexpr std::string_view text() const { return text_; }
    constexpr operator std::string_view() const { return text_; }
    constexpr std::span<const Placeholder> placeholders() const {
        return {placeholders_.data(), count_};
    }

private:
    std::string_view text_;
    std::array<Placeholder, kMostPlaceholders> placeholders_{};
    std::size_t count_ = 0;
};

// The template with its placeholders replaced by the values, in order. A "%" inside an
// inserted value is never interpreted. Placeholders and values that do not match (in number
// or kind) and any other "%" directive in the template are programming errors:
// std::invalid_argument.
std::string Format(const ScriptTemplate& scriptTemplate, std::initializer_list<FormatValue> values);
std::string Format(std::string_view scriptTemplate, std::initializer_list<FormatValue> values);

// The same, appended to `out`.
void AppendFormat(std::string& out, const ScriptTemplate& scriptTemplate,
                  std::initializer_list<FormatValue> values);
void AppendFormat(std::string& out, std::string_view scriptTemplate,
                  std::initializer_list<FormatValue> values);

} // namespace kv
