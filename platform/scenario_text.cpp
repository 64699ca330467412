#include "platform/scenario_text.h"

#include "platform/text_conversion.h"
#include "text/literal_encoding.h"

#include <utility>

namespace kv {

namespace {

// Nearly every text is whole in the code page: it is converted once and encoded as bytes. Only
// a text with a character the code page lacks takes the wide encoding, whose result the code
// page holds entirely.
template <class ByteForm, class WideForm>
std::string Placed(std::wstring_view text, ByteForm byteForm, WideForm wideForm) {
    std::string ansi;
    if (AnsiInto(ansi, text, Unrepresentable::Replace))
        return byteForm(std::move(ansi));
    AnsiInto(ansi, wideForm(text, InAnsiCodePage), Unrepresentable::Refuse);
    return ansi;
}

} // namespace

std::string ScenarioLiteral(std::wstring_view text) {
    return Placed(
        text,
        [](std::string ansi) {
            return kChangedInLiteral.AnyIn(ansi) ? PlainTextInLiteral(ansi) : std::move(ansi);
        },
        [](std::wstring_view wide, InCodePage inCodePage) {
            return PlainTextInLiteral(wide, inCodePage);
        });
}

std::string ScenarioComment(std::wstring_view text) {
    return Placed(
        text,
        [](std::string ansi) {
            return kChangedInComment.AnyIn(ansi) ? PlainTextInComment(ansi) : std::move(ansi);
        },
        [](std::wstring_view wide, InCodePage inCodePage) {
            return PlainTextInComment(wide, inCodePage);
        });
}

PlacedName ScenarioName(std::wstring_view text) {
    std::string ansi;
    if (AnsiInto(ansi, text, Unrepresentable::Replace))
        return PlacedName(ansi);
    return {ScenarioLiteral(text), ScenarioComment(text)};
}

std::string ScenarioCodeLiteral(std::wstring_view text) {
    return Placed(
        text, [](const std::string& ansi) { return CodeLiteral(ansi); },
        [](std::wstring_view wide, InCodePage inCodePage) { return CodeLiteral(wide, inCodePage); });
}

std::string ScenarioModuleLiteral(std::wstring_view text) {
    return Placed(
        text, [](const std::string& ansi) { return ModuleLiteral(ansi); },
        [](std::wstring_view wide, InCodePage inCodePage) {
            return ModuleLiteral(wide, inCodePage);
        });
}

} // namespace kv
