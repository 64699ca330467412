// The value encodings that turn kernel values into VBScript text, and the guard that keeps
// names with quotes and line breaks inside their string literals and comment lines.
#include "text/guid_text.h"
#include "text/literal_encoding.h"
#include "text/script_format.h"
#include "text/scenario_templates.h"
#include "vbs_string_expression.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>

namespace {

using kv::testing::EvaluateStringExpression;
using kv::testing::WithCrLfLineBreaks;

struct EncodingCase {
    const char* what;
    std::string input;
    std::string expected;
};

void PrintTo(const EncodingCase& c, std::ostream* os) {
    *os << c.what;
}

class CodeLiteralCases : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(CodeLiteralCases, EncodesAsOneStringExpression) {
    const EncodingCase& c = GetParam();
    const std::string literal = kv::CodeLiteral(c.input);
    EXPECT_EQ(literal, c.expected);
    EXPECT_EQ(EvaluateStringExpression(literal), WithCrLfLineBreaks(c.input)) << literal;
}

INSTANTIATE_TEST_SUITE_P(
    Literals, CodeLiteralCases,
    ::testing::Values(EncodingCase{"empty", "", R"("")"},
                      EncodingCase{"one line", "x = 1", R"("x = 1")"},
                      EncodingCase{"a, CR LF, b", "a\r\nb", R"("a"&Chr(13)&Chr(10)&"b")"},
                      EncodingCase{"lone LF between", "a\nb", R"("a"&Chr(13)&Chr(10)&"b")"},
                      EncodingCase{"only CR LF", "\r\n", "Chr(13)&Chr(10)"},
                      EncodingCase{"only CR", "\r", "Chr(13)&Chr(10)"},
                      EncodingCase{"only LF", "\n", "Chr(13)&Chr(10)"},
                      EncodingCase{"trailing line break", "end if\r\n",
                                   R"("end if"&Chr(13)&Chr(10))"},
                      EncodingCase{"leading line break", "\nx", R"(Chr(13)&Chr(10)&"x")"},
                      EncodingCase{"LF then CR is two breaks", "a\n\rb",
                                   R"("a"&Chr(13)&Chr(10)&""&Chr(13)&Chr(10)&"b")"},
                      EncodingCase{"single quote character", "\"", R"("""")"},
                      EncodingCase{"quotes around text", "say \"hi\"", R"("say ""hi""")"},
                      EncodingCase{"quote before a break", "\"\r\n", R"(""""&Chr(13)&Chr(10))"},
                      EncodingCase{"ampersand before a break", "x&\n", R"("x&"&Chr(13)&Chr(10))"},
                      EncodingCase{"ampersand and quote at the end", "x&\"", R"("x&""")"},
                      EncodingCase{"percent signs", "%s%d", R"("%s%d")"},
                      EncodingCase{"backslashes stay", "a\\nb", R"("a\nb")"}));

class ModuleLiteralCases : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(ModuleLiteralCases, EncodesTheInsideOfALiteral) {
    const EncodingCase& c = GetParam();
    const std::string inside = kv::ModuleLiteral(c.input);
    EXPECT_EQ(inside, c.expected);
    EXPECT_EQ(EvaluateStringExpression('"' + inside + '"'), WithCrLfLineBreaks(c.input)) << inside;
}

INSTANTIATE_TEST_SUITE_P(
    Literals, ModuleLiteralCases,
    ::testing::Values(EncodingCase{"empty", "", ""},
                      EncodingCase{"quotes doubled", "a\"b", R"(a""b)"},
                      EncodingCase{"leading break", "\r\nsub x", R"("&Chr(13)&Chr(10)&"sub x)"},
                      EncodingCase{"trailing lone CR", "end sub\r",
                                   R"(end sub"&Chr(13)&Chr(10)&")"},
                      EncodingCase{"lone LF", "a\nb", R"(a"&Chr(13)&Chr(10)&"b)"}));

TEST(ModuleLiteral, LeadingLineBreakGivesAnEmptyOperandInTheModuleStatement) {
    const std::string line = kv::Format(kv::tplSetModule, {"m", kv::ModuleLiteral("\r\nx")});
    EXPECT_EQ(line, R"(  cvec.zrPatchFunction("m") = ""&Chr(13)&Chr(10)&"x")");
}

TEST(BoolLiteral, AnyNonZeroKernelBooleanIsTrue) {
    EXPECT_EQ(kv::BoolLiteral(0), "false");
    EXPECT_EQ(kv::BoolLiteral(1), "true");
    EXPECT_EQ(kv::BoolLiteral(-1), "true"); // VARIANT_TRUE
    EXPECT_EQ(kv::BoolLiteral(256), "true");
}

TEST(IntegerText, DecimalWithSignAndNoPadding) {
    EXPECT_EQ(kv::IntegerText(0), "0");
    EXPECT_EQ(kv::IntegerText(7), "7");
    EXPECT_EQ(kv::IntegerText(-1), "-1");
    EXPECT_EQ(kv::IntegerText(INT32_MAX), "2147483647");
    EXPECT_EQ(kv::IntegerText(INT32_MIN), "-2147483648");
}

TEST(GuidText, RegistryFormFromTheBytesInMemory) {
    // {91D7EEAA-4F13-439E-AAB1-BE7214567225} as a GUID lies in memory.
    const std::array<std::uint8_t, 16> bytes = {0xAA, 0xEE, 0xD7, 0x91, 0x13, 0x4F, 0x9E, 0x43,
                                                0xAA, 0xB1, 0xBE, 0x72, 0x14, 0x56, 0x72, 0x25};
    EXPECT_EQ(kv::GuidText(bytes), "{91D7EEAA-4F13-439E-AAB1-BE7214567225}");
    EXPECT_EQ(kv::GuidText(std::array<std::uint8_t, 16>{}),
              "{00000000-0000-0000-0000-000000000000}");
}

// Plain text: names, captions, groups. Inside a literal, quotes and line breaks must not end
// it (else a name could carry statements into the scenario); everything else is unchanged.
class PlainTextInLiteralCases : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(PlainTextInLiteralCases, StaysInsideTheLiteralAndReadsBackExactly) {
    const EncodingCase& c = GetParam();
    const std::string inside = kv::PlainTextInLiteral(c.input);
    EXPECT_EQ(inside, c.expected);
    EXPECT_EQ(EvaluateStringExpression('"' + inside + '"'), c.input) << inside;
    EXPECT_EQ(kv::QuoteDoubled(c.input), inside);
}

INSTANTIATE_TEST_SUITE_P(
    Literals, PlainTextInLiteralCases,
    ::testing::Values(
        EncodingCase{"plain name", "Order_1", "Order_1"},
        EncodingCase{"Cyrillic name, Windows-1251", "\xC7\xE0\xEA\xE0\xE7", "\xC7\xE0\xEA\xE0\xE7"},
        EncodingCase{"percent and ampersand", "100% & more", "100% & more"},
        EncodingCase{"apostrophe", "it's", "it's"}, EncodingCase{"quote", "a\"b", R"(a""b)"},
        EncodingCase{"quote breaking out", "x\")\r\nmdl.zrGetClassVector.zrRemove(\"y",
                     R"~(x"")"&Chr(13)&Chr(10)&"mdl.zrGetClassVector.zrRemove(""y)~"},
        EncodingCase{"lone LF kept as LF", "a\nb", R"(a"&Chr(10)&"b)"},
        EncodingCase{"lone CR kept as CR", "a\rb", R"(a"&Chr(13)&"b)"},
        EncodingCase{"LF CR kept in order", "a\n\rb", R"(a"&Chr(10)&Chr(13)&"b)"},
        EncodingCase{"break at both ends", "\r\nx\n", R"("&Chr(13)&Chr(10)&"x"&Chr(10)&")"}));

TEST(PlainTextInLiteral, InsideATemplateTheLiteralHoldsExactlyTheName) {
    const std::string name = "A\"\r\nB";
    const std::string line = kv::Format(kv::tplClassName, {kv::PlainTextInLiteral(name)});
    const std::string prefix = "  cls.zrName = ";
    ASSERT_EQ(line.substr(0, prefix.size()), prefix);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    EXPECT_EQ(EvaluateStringExpression(line.substr(prefix.size())), name) << line;
}

TEST(PlainTextInComment, LineBreaksAreShownNotKept) {
    EXPECT_EQ(kv::PlainTextInComment("Order \"1\" 100%"), "Order \"1\" 100%");
    EXPECT_EQ(kv::PlainTextInComment("a\r\nb\nc\rd"), "a\\r\\nb\\nc\\rd");
    const std::string comment =
        kv::Format(kv::tplAddLinkComment, {kv::PlainTextInComment("A\r\nmdl.zrGetClassVector"),
                                           kv::PlainTextInComment("B")});
    EXPECT_EQ(comment.find_first_of("\r\n"), std::string::npos) << comment;
}

TEST(VbsStringExpression, RejectsWhatVBScriptWouldNotReadAsOneString) {
    for (const char* malformed : {"", "a", "\"a", "\"a\"\"", "\"a\"&", "\"a\"\"b\"&x", "\"a\r\nb\"",
                                  "Chr(13)Chr(10)", "\"a\" & \"b\""})
        EXPECT_EQ(EvaluateStringExpression(malformed), std::nullopt) << malformed;
}

} // namespace
