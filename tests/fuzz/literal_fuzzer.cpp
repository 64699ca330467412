// libFuzzer target for the string-literal encodings: whatever the input, the produced VBScript
// must read back as exactly one string expression with the input's value (line breaks as
// CR LF for code and modules, exact for plain text), and a comment must hold no line break. The
// same input read as UTF-16 code units goes through the wide encodings, whose output must hold
// only code units of the code page.
#include "text/literal_encoding.h"
#include "fuzz_require.h"
#include "vbs_string_expression.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// A code page with a gap, so that both kinds of code unit occur.
bool InSmallCodePage(wchar_t unit) {
    return unit < 0x80 || (unit >= 0x410 && unit <= 0x44F);
}

bool OnlyInSmallCodePage(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), InSmallCodePage);
}

void CheckWideEncodings(const std::uint8_t* data, std::size_t size) {
    std::wstring input;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        input += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    const std::wstring crLf = kv::testing::WithCrLfLineBreaks(std::wstring_view(input));

    const std::wstring code = kv::CodeLiteral(input, InSmallCodePage);
    Require(kv::testing::EvaluateStringExpression(code) == crLf && OnlyInSmallCodePage(code),
            "wide CodeLiteral");
    const std::wstring module = kv::ModuleLiteral(input, InSmallCodePage);
    Require(kv::testing::EvaluateStringExpression(L'"' + module + L'"') == crLf &&
                OnlyInSmallCodePage(module),
            "wide ModuleLiteral");
    const std::wstring plain = kv::PlainTextInLiteral(input, InSmallCodePage);
    Require(kv::testing::EvaluateStringExpression(L'"' + plain + L'"') == input &&
                OnlyInSmallCodePage(plain),
            "wide PlainTextInLiteral");
    const std::wstring comment = kv::PlainTextInComment(input, InSmallCodePage);
    Require(comment.find_first_of(L"\r\n") == std::wstring::npos && OnlyInSmallCodePage(comment),
            "wide PlainTextInComment");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string crLf = kv::testing::WithCrLfLineBreaks(input);

    Require(kv::testing::EvaluateStringExpression(kv::CodeLiteral(input)) == crLf, "CodeLiteral");
    Require(kv::testing::EvaluateStringExpression('"' + kv::ModuleLiteral(input) + '"') == crLf,
            "ModuleLiteral");
    Require(kv::testing::EvaluateStringExpression('"' + kv::PlainTextInLiteral(input) + '"') ==
                std::string(input),
            "PlainTextInLiteral");
    Require(kv::PlainTextInComment(input).find_first_of("\r\n") == std::string::npos,
            "PlainTextInComment");
    CheckWideEncodings(data, size);
    return 0;
}
