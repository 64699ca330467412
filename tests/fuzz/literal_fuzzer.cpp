// libFuzzer target for the string-literal encodings: whatever the input, the produced VBScript
// must read back as exactly one string expression with the input's value (line breaks as
// CR LF for code and modules, exact for plain text), and a comment must hold no line break.
#include "text/literal_encoding.h"
#include "fuzz_require.h"
#include "vbs_string_expression.h"

#include <cstdint>
#include <string>
#include <string_view>

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
    return 0;
}
