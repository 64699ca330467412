// The barriers at the library's boundaries and the check() that turns a failing kernel status
// into an error.
#include "platform/com_owners.h"
#include "platform/barriers.h"
#include "support/error_info.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <stdexcept>

using namespace kv;

using Microsoft::WRL::ComPtr;

namespace {

using kvtest::TakeErrorDescription;

TEST(ExportBarrier, ResultIsOneByteTrueOrFalse) {
    EXPECT_EQ(ExportBarrier([] { return true; }), 1);
    EXPECT_EQ(ExportBarrier([] { return false; }), 0);
}

TEST(ExportBarrier, ErrorsBecomeFalseWithTheMessageOnTheThread) {
    const struct {
        void (*raise)();
        const wchar_t* description;
    } cases[] = {
        {[] { throw LibraryError(E_INVALIDARG, L"Класс не найден"); }, L"Класс не найден"},
        {[] { throw std::runtime_error("plain failure"); }, L"plain failure"},
        {[] { throw 42; }, L"Непредвиденная ошибка"},
    };
    for (const auto& c : cases) {
        SetErrorInfo(0, nullptr);
        EXPECT_EQ(ExportBarrier([&] {
                      c.raise();
                      return true;
                  }),
                  0);
        EXPECT_EQ(TakeErrorDescription(), c.description);
    }
}

TEST(Check, FailingStatusCarriesTheFailingObjectsMessage) {
    SetThreadErrorInfo(L"kernel: no such class");
    try {
        check(E_INVALIDARG);
        FAIL() << "check passed a failing status";
    } catch (const LibraryError& error) {
        EXPECT_EQ(error.Code(), E_INVALIDARG);
        EXPECT_EQ(error.Message(), L"kernel: no such class");
    }
    EXPECT_EQ(TakeErrorDescription(), L"") << "the kernel's error information was not taken";
}

TEST(Check, FailingStatusWithoutErrorInformationNamesTheStatus) {
    SetErrorInfo(0, nullptr);
    try {
        check(static_cast<HRESULT>(0x80004005));
        FAIL() << "check passed a failing status";
    } catch (const LibraryError& error) {
        EXPECT_NE(error.Message().find(L"0x80004005"), std::wstring::npos);
    }
}

TEST(Check, SuccessCodesPass) {
    EXPECT_NO_THROW(check(S_OK));
    EXPECT_NO_THROW(check(S_FALSE));
}

TEST(ComMethodBarrier, ErrorsKeepTheirStatusOthersAreUnexpected) {
    EXPECT_EQ(ComMethodBarrier(GUID_NULL, L"test",
                               []() -> HRESULT { throw LibraryError(E_INVALIDARG, L"bad group"); }),
              E_INVALIDARG);
    EXPECT_EQ(TakeErrorDescription(), L"bad group");
    EXPECT_EQ(ComMethodBarrier(GUID_NULL, L"test",
                               []() -> HRESULT { throw std::runtime_error("broken"); }),
              E_UNEXPECTED);
    EXPECT_EQ(TakeErrorDescription(), L"broken");
    EXPECT_EQ(ComMethodBarrier(GUID_NULL, L"test", [] { return S_FALSE; }), S_FALSE);
}

TEST(ComMethodBarrier, ErrorInformationNamesInterfaceAndSource) {
    const GUID iid = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    ComMethodBarrier(iid, L"korvalith.Test",
                     []() -> HRESULT { throw LibraryError(E_NOTIMPL, L"later"); });
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    GUID reported;
    info->GetGUID(&reported);
    EXPECT_TRUE(IsEqualGUID(reported, iid));
    Bstr source;
    info->GetSource(source.Out());
    EXPECT_EQ(source.View(), L"korvalith.Test");
}

TEST(SwallowingBarrier, AlwaysSucceedsAndLeavesNoStaleErrorInformation) {
    EXPECT_EQ(SwallowingBarrier([] {
                  SetThreadErrorInfo(L"kernel failure");
                  check(E_FAIL);
              }),
              S_OK);
    SetThreadErrorInfo(L"left by a kernel call");
    EXPECT_EQ(SwallowingBarrier([] { throw LibraryError(E_INVALIDARG, L"swallowed"); }), S_OK);
    EXPECT_EQ(TakeErrorDescription(), L"");
    EXPECT_EQ(SwallowingBarrier([] {}), S_OK);
}

} // namespace
