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

// Wide texts: the kernel's names may hold characters that the scenario's code page lacks
// ("мм²", "Ø", "≤", a character outside the BMP). Here the code page is ASCII and the Russian
// alphabet, as Windows-1251 has them; the scenario must hold only those and still read back as
// exactly the text.
bool AsciiOrRussian(wchar_t unit) {
    return unit < 0x80 || (unit >= 0x410 && unit <= 0x44F);
}

struct WideCase {
    const char* what;
    std::wstring input;
    std::wstring literal; // PlainTextInLiteral
    std::wstring comment; // PlainTextInComment
    std::wstring code;    // CodeLiteral
};

void PrintTo(const WideCase& c, std::ostream* os) {
    *os << c.what;
}

class WideTextCases : public ::testing::TestWithParam<WideCase> {};

bool OnlyInCodePage(std::wstring_view text) {
    for (const wchar_t unit : text) {
        if (!AsciiOrRussian(unit))
            return false;
    }
    return true;
}

TEST_P(WideTextCases, SplicesWhatTheCodePageLacksAndReadsBackExactly) {
    const WideCase& c = GetParam();
    const std::wstring literal = kv::PlainTextInLiteral(c.input, AsciiOrRussian);
    EXPECT_EQ(literal, c.literal);
    EXPECT_EQ(EvaluateStringExpression(L'"' + literal + L'"'), c.input);
    EXPECT_EQ(kv::PlainTextInComment(c.input, AsciiOrRussian), c.comment);
    const std::wstring code = kv::CodeLiteral(c.input, AsciiOrRussian);
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(EvaluateStringExpression(code), WithCrLfLineBreaks(std::wstring_view(c.input)));
    const std::wstring module = kv::ModuleLiteral(c.input, AsciiOrRussian);
    EXPECT_EQ(EvaluateStringExpression(L'"' + module + L'"'),
              WithCrLfLineBreaks(std::wstring_view(c.input)));
    for (const std::wstring& written : {literal, code, module, c.comment})
        EXPECT_TRUE(OnlyInCodePage(written)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Literals, WideTextCases,
    ::testing::Values(
        WideCase{"all in the code page", L"Деталь \"A\"", L"Деталь \"\"A\"\"", L"Деталь \"A\"",
                 L"\"Деталь \"\"A\"\"\""},
        WideCase{"measure unit", L"мм\u00B2", L"мм\"&ChrW(178)&\"", L"мм?",
                 L"\"мм\"&ChrW(178)"},
        WideCase{"whole name outside", L"\u00D8", L"\"&ChrW(216)&\"", L"?", L"ChrW(216)"},
        WideCase{"a run of two", L"a\u2264\u2265b", L"a\"&ChrW(8804)&ChrW(8805)&\"b", L"a??b",
                 L"\"a\"&ChrW(8804)&ChrW(8805)&\"b\""},
        WideCase{"outside the BMP: one ChrW per code unit", L"x\xD83D\xDE00",
                 L"x\"&ChrW(55357)&ChrW(56832)&\"", L"x??", L"\"x\"&ChrW(55357)&ChrW(56832)"},
        WideCase{"a lone surrogate", L"\xD800", L"\"&ChrW(55296)&\"", L"?", L"ChrW(55296)"},
        WideCase{"line break beside", L"a\r\n\u00B2\"", L"a\"&Chr(13)&Chr(10)&ChrW(178)&\"\"\"",
                 L"a\\r\\n?\"", L"\"a\"&Chr(13)&Chr(10)&\"\"&ChrW(178)&\"\"\"\""},
        WideCase{"largest code unit", L"\xFFFF", L"\"&ChrW(65535)&\"", L"?", L"ChrW(65535)"}));

TEST(WideText, TextThatNeedsNothingComesOutAsTheByteFormsWriteIt) {
    for (const char* text : {"", "plain", "a\"b", "a\r\nb\n", "\r\nx\r"}) {
        const std::string bytes(text);
        const std::wstring wide(bytes.begin(), bytes.end());
        const auto widened = [](const std::string& s) { return std::wstring(s.begin(), s.end()); };
        EXPECT_EQ(kv::PlainTextInLiteral(wide, AsciiOrRussian), widened(kv::PlainTextInLiteral(bytes)));
        EXPECT_EQ(kv::PlainTextInComment(wide, AsciiOrRussian), widened(kv::PlainTextInComment(bytes)));
        EXPECT_EQ(kv::CodeLiteral(wide, AsciiOrRussian), widened(kv::CodeLiteral(bytes)));
        EXPECT_EQ(kv::ModuleLiteral(wide, AsciiOrRussian), widened(kv::ModuleLiteral(bytes)));
    }
}

TEST(VbsStringExpression, RejectsWhatVBScriptWouldNotReadAsOneString) {
    for (const char* malformed : {"", "a", "\"a", "\"a\"\"", "\"a\"&", "\"a\"\"b\"&x", "\"a\r\nb\"",
                                  "Chr(13)Chr(10)", "\"a\" & \"b\"", "ChrW()", "ChrW(65536)",
                                  "ChrW(1", "ChrW(x)"})
        EXPECT_EQ(EvaluateStringExpression(malformed), std::nullopt) << malformed;
}

} // namespace
