// Kernel texts into the ANSI code page (1251 under the project's Russian locale): wide strings,
// BSTRs with embedded nulls, variants by the platform's rules, GUIDs; characters outside the
// code page refused in scenario text and replaced in shown text.
#include "text/guid_text.h"
#include "platform/guid_conversion.h"
#include "platform/ole_text.h"
#include "platform/scenario_text.h"

#include "platform/barriers.h"
#include "platform/com_owners.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <system_error>

using namespace kv;

namespace {

TEST(KernelText, WideTextBecomesWindows1251) {
    ASSERT_EQ(GetACP(), 1251u) << "tests run with the Russian locale";
    EXPECT_EQ(kv::ScenarioAnsiFromWide(L""), "");
    EXPECT_EQ(kv::ScenarioAnsiFromWide(L"Order_1 %s"), "Order_1 %s");
    EXPECT_EQ(kv::ScenarioAnsiFromWide(L"\u0417\u0430\u043A\u0430\u0437 \u0401\u0451"),
              "\xC7\xE0\xEA\xE0\xE7 \xA8\xB8");
}

// A "?" in the scenario would make a replay create or look for another name and report
// success: scenario text with such a character is refused, naming the text and the character.
TEST(KernelText, ScenarioTextRefusesCharactersOutsideTheCodePage) {
    struct Case {
        std::wstring text;
        const wchar_t* character;
    } cases[] = {
        {L"Snow \u2603 \u4E2D", L"U+2603"},
        {L"caf\u00E9", L"U+00E9"}, // no best-fit look-alike ("e") is taken
        {L"\u0417\u0430 \U0001F600", L"U+1F600"},
        {std::wstring(L"lone ") + wchar_t(0xD800) + L" half", L"U+D800"},
        {std::wstring(200, L'a') + L"\u4E2D", L"U+4E2D"},
    };
    for (const Case& c : cases) {
        try {
            kv::ScenarioAnsiFromWide(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const LibraryError& error) {
            EXPECT_EQ(error.Code(), HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION));
            EXPECT_NE(error.Message().find(c.text.substr(0, 80)), std::wstring::npos)
                << error.what();
            EXPECT_NE(error.Message().find(c.character), std::wstring::npos) << error.what();
        }
    }
    // The same through a BSTR and a variant.
    BSTR snow = SysAllocString(L"Snow \u2603");
    EXPECT_THROW(kv::ScenarioAnsiFromBstr(snow), LibraryError);
    Variant value;
    V_VT(value.Get()) = VT_BSTR;
    V_BSTR(value.Get()) = snow;
    EXPECT_THROW(kv::ScenarioVariantText(*value.Get()), LibraryError);
}

// Shown text puts "?" for each UTF-16 code unit that the code page lacks, a surrogate pair
// included, whatever the platform's default character would stand for.
TEST(KernelText, ShownTextPutsAQuestionMarkForEachCodeUnitOutsideTheCodePage) {
    EXPECT_EQ(kv::ShownAnsiFromWide(L"caf\u00E9 \u4E2D ?"), "caf? ? ?");
    EXPECT_EQ(kv::ShownAnsiFromWide(L"x\U0001F600\xD800"), "x???");
    EXPECT_EQ(kv::ShownAnsiFromWide(L"\u0414\u00B2"), "\xC4?");
}

// The kernel's texts placed in a scenario under the code page of the tests (1251): whole where
// the code page has every character, ChrW in literals and "?" in comments where it does not.
TEST(ScenarioText, EachPlaceholderGetsItsFormOfTheText) {
    struct Case {
        std::wstring text;
        std::string literal;
        std::string comment;
        std::string code;
        std::string module;
    };
    const Case cases[] = {
        {L"\u0414\u0430 \"x\"", "\xC4\xE0 \"\"x\"\"", "\xC4\xE0 \"x\"", "\"\xC4\xE0 \"\"x\"\"\"",
         "\xC4\xE0 \"\"x\"\""},
        {L"\u043C\u043C\u00B2", "\xEC\xEC\"&ChrW(178)&\"", "\xEC\xEC?", "\"\xEC\xEC\"&ChrW(178)",
         "\xEC\xEC\"&ChrW(178)&\""},
        {L"a\r\n\U0001F600", "a\"&Chr(13)&Chr(10)&ChrW(55357)&ChrW(56832)&\"", "a\\r\\n??",
         "\"a\"&Chr(13)&Chr(10)&\"\"&ChrW(55357)&ChrW(56832)",
         "a\"&Chr(13)&Chr(10)&\"\"&ChrW(55357)&ChrW(56832)&\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kv::ScenarioLiteral(c.text), c.literal);
        EXPECT_EQ(kv::ScenarioComment(c.text), c.comment);
        EXPECT_EQ(kv::ScenarioCodeLiteral(c.text), c.code);
        EXPECT_EQ(kv::ScenarioModuleLiteral(c.text), c.module);
        const kv::PlacedName name = kv::ScenarioName(c.text);
        EXPECT_EQ(name.literal, c.literal);
        EXPECT_EQ(name.comment, c.comment);
    }
}

TEST(KernelText, BstrIsReadToItsFullLength) {
    BSTR text = SysAllocStringLen(L"a\0b\"\r\n", 6);
    EXPECT_EQ(kv::ScenarioAnsiFromBstr(text), std::string("a\0b\"\r\n", 6));
    SysFreeString(text);
    EXPECT_EQ(kv::ScenarioAnsiFromBstr(nullptr), "");
}

TEST(KernelText, VariantTextFollowsThePlatformRules) {
    Variant empty;
    EXPECT_EQ(kv::ScenarioVariantText(*empty.Get()), "");

    Variant null;
    V_VT(null.Get()) = VT_NULL;
    EXPECT_EQ(kv::ScenarioVariantText(*null.Get()), "");

    Variant text;
    V_VT(text.Get()) = VT_BSTR;
    V_BSTR(text.Get()) = SysAllocString(L"\u0414\u0430");
    EXPECT_EQ(kv::ScenarioVariantText(*text.Get()), "\xC4\xE0");

    Variant number;
    V_VT(number.Get()) = VT_I4;
    V_I4(number.Get()) = -42;
    EXPECT_EQ(kv::ScenarioVariantText(*number.Get()), "-42");

    Variant byReference;
    V_VT(byReference.Get()) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(byReference.Get()) = null.Get();
    EXPECT_EQ(kv::ScenarioVariantText(*byReference.Get()), "");
}

TEST(KernelText, VariantWithoutATextFormThrowsWithItsHresult) {
    Variant array;
    V_VT(array.Get()) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(array.Get()) = SafeArrayCreateVector(VT_VARIANT, 0, 2);
    try {
        kv::ScenarioVariantText(*array.Get());
        ADD_FAILURE() << "no error";
    } catch (const std::system_error& error) {
        EXPECT_TRUE(FAILED(static_cast<HRESULT>(error.code().value()))) << error.what();
    }
}

TEST(KernelText, GuidTextIsWhatThePlatformWrites) {
    const GUID ids[] = {
        {0x91D7EEAA, 0x4F13, 0x439E, {0xAA, 0xB1, 0xBE, 0x72, 0x14, 0x56, 0x72, 0x25}},
        {0x0000000A, 0x00B0, 0x0C00, {0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xEF}},
        {},
    };
    for (const GUID& id : ids) {
        wchar_t platform[40] = {};
        ASSERT_EQ(StringFromGUID2(id, platform, 40), 39);
        const std::string text = kv::GuidText(id);
        EXPECT_EQ(text.size(), 38u);
        EXPECT_EQ(text, kv::ScenarioAnsiFromWide(platform));
    }
    EXPECT_EQ(kv::GuidText(ids[1]), "{0000000A-00B0-0C00-0D00-0000000000EF}");
}

} // namespace
