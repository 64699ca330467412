#include "platform/scenario_text.h"

#include "platform/text_conversion.h"

#include <optional>
#include <utility>

namespace kv {

namespace {

// Nearly every text is whole in the code page: converted once, it takes the byte encodings.
std::optional<std::string> WholeInCodePage(std::wstring_view text) {
    std::string ansi;
    if (!AnsiInto(ansi, text, Unrepresentable::Report))
        return std::nullopt;
    return ansi;
}

// A wide encoding's result, which holds only characters that the code page has.
std::string Ansi(const std::wstring& encoded) {
    std::string ansi;
    AnsiInto(ansi, encoded, Unrepresentable::Refuse);
    return ansi;
}

} // namespace

std::string ScenarioLiteral(std::wstring_view text) {
    if (std::optional<std::string> ansi = WholeInCodePage(text))
        return kChangedInLiteral.AnyIn(*ansi) ? PlainTextInLiteral(*ansi) : std::move(*ansi);
    return Ansi(PlainTextInLiteral(text, InAnsiCodePage));
}

std::string ScenarioComment(std::wstring_view text) {
    if (std::optional<std::string> ansi = WholeInCodePage(text))
        return kChangedInComment.AnyIn(*ansi) ? PlainTextInComment(*ansi) : std::move(*ansi);
    return Ansi(PlainTextInComment(text, InAnsiCodePage));
}

PlacedName ScenarioName(std::wstring_view text) {
    if (std::optional<std::string> ansi = WholeInCodePage(text))
        return PlacedName(*ansi);
    return {Ansi(PlainTextInLiteral(text, InAnsiCodePage)),
            Ansi(PlainTextInComment(text, InAnsiCodePage))};
}

std::string ScenarioCodeLiteral(std::wstring_view text) {
    if (std::optional<std::string> ansi = WholeInCodePage(text))
        return CodeLiteral(*ansi);
    return Ansi(CodeLiteral(text, InAnsiCodePage));
}

std::string ScenarioModuleLiteral(std::wstring_view text) {
    if (std::optional<std::string> ansi = WholeInCodePage(text))
        return ModuleLiteral(*ansi);
    return Ansi(ModuleLiteral(text, InAnsiCodePage));
}

} // namespace kv
