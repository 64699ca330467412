// ShowMessageDlg as a user meets it: a helper thread finds the dialog and answers it by keys
// and buttons; the result codes, roles, captions and icons are checked.
#include "support/dialog_driver.h"

#include "common/application.h"
#include "common/message_dialog.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kv;

namespace {

using B = MessageButton;

struct Step {
    enum Kind { Enter, Escape, Click, CloseBox, AltF4 } kind;
    const wchar_t* caption = nullptr; // of the button to click
};

void Perform(HWND dialog, const Step& step) {
    switch (step.kind) {
    case Step::Enter:
        PressKey(dialog, VK_RETURN);
        break;
    case Step::Escape:
        PressKey(dialog, VK_ESCAPE);
        break;
    case Step::Click:
        Click(FindButton(dialog, step.caption));
        break;
    case Step::CloseBox:
        PressCloseBox(dialog);
        break;
    case Step::AltF4:
        PressAltF4(dialog);
        break;
    }
}

constexpr TMessageButtons Set(std::initializer_list<MessageButton> buttons) {
    TMessageButtons set = 0;
    for (MessageButton button : buttons)
        set |= ButtonBit(button);
    return set;
}

struct AnswerCase {
    const char* name;
    TMessageButtons buttons;
    std::vector<Step> steps;
    int expected;
};

void PrintTo(const AnswerCase& c, std::ostream* out) {
    *out << c.name;
}

class DialogAnswers : public testing::TestWithParam<AnswerCase> {};

TEST_P(DialogAnswers, ReturnTheCodeOfTheButtonThatClosedIt) {
    const AnswerCase& c = GetParam();
    DialogDriver driver([&](HWND dialog) {
        for (const Step& step : c.steps)
            Perform(dialog, step);
    });
    EXPECT_EQ(ShowMessageDlg(L"Сохранить сценарий?", mkConfirmation, c.buttons, nullptr),
              c.expected);
}

const Step Enter{Step::Enter};
const Step Escape{Step::Escape};
const Step CloseBox{Step::CloseBox};
const Step AltF4{Step::AltF4};
Step ClickOn(const wchar_t* caption) {
    return {Step::Click, caption};
}

INSTANTIATE_TEST_SUITE_P(
    Roles, DialogAnswers,
    testing::Values(
        AnswerCase{"YesNoEnterIsYes", mbYesNo, {Enter}, 6},
        AnswerCase{"YesNoEscapeIsNo", mbYesNo, {Escape}, 7},
        AnswerCase{"YesNoCancelEnterIsYes", mbYesNoCancel, {Enter}, 6},
        AnswerCase{"YesNoCancelEscapeIsCancel", mbYesNoCancel, {Escape}, 2},
        AnswerCase{"OkEnter", mbOK, {Enter}, 1}, AnswerCase{"OkEscapeAlsoOk", mbOK, {Escape}, 1},
        AnswerCase{"NoButtonsCloseBox", 0, {CloseBox}, 2},
        AnswerCase{"CloseBoxIsCancelResult", mbYesNo, {CloseBox}, 2},
        AnswerCase{"AltF4IsCancelResult", mbYesNo, {AltF4}, 2},
        AnswerCase{"RetryIsDefault", Set({B::Abort, B::Retry, B::Ignore}), {Enter}, 4},
        // Without Cancel, No or OK, Escape presses nothing and the dialog stays.
        AnswerCase{"EscapeWithoutCancelRoleDoesNothing",
                   Set({B::Abort, B::Retry, B::Ignore}),
                   {Escape, ClickOn(L"Игнорировать")},
                   5},
        AnswerCase{"HelpDoesNotClose", mbOK | ButtonBit(B::Help), {ClickOn(L"Помощь"), Enter}, 1},
        AnswerCase{"NoClicked", mbYesNoCancel, {ClickOn(L"Нет")}, 7}),
    [](const testing::TestParamInfo<AnswerCase>& info) { return std::string(info.param.name); });

TEST(MessageDialog, EveryButtonClosesWithItsResultCode) {
    const struct {
        const wchar_t* caption;
        int result;
    } buttons[] = {{L"Да", 6},           {L"Нет", 7},         {L"OK", 1},           {L"Отмена", 2},
                   {L"Прервать", 3},     {L"Повторить", 4},   {L"Игнорировать", 5}, {L"Все", 8},
                   {L"Нет для всех", 9}, {L"Да для всех", 10}};
    for (const auto& button : buttons) {
        DialogDriver driver([&](HWND dialog) { Click(FindButton(dialog, button.caption)); });
        EXPECT_EQ(ShowMessageDlg(L"text", mkWarning, 0x7FF, nullptr), button.result)
            << testing::PrintToString(button.caption);
    }
}

TEST(MessageDialog, ButtonsAreLaidOutInTableOrder) {
    std::vector<std::wstring> captions;
    DialogDriver driver([&](HWND dialog) {
        for (HWND button : ButtonsLeftToRight(dialog))
            captions.push_back(WindowText(button));
        PressCloseBox(dialog);
    });
    ShowMessageDlg(L"text", mkWarning, 0x7FF, nullptr);
    const std::vector<std::wstring> expected = {
        L"Да",           L"Нет", L"OK",           L"Отмена",      L"Прервать", L"Повторить",
        L"Игнорировать", L"Все", L"Нет для всех", L"Да для всех", L"Помощь"};
    EXPECT_EQ(captions, expected);
}

struct Appearance {
    std::wstring caption;
    bool has_icon = false;
    bool text_shown = false;
};

BOOL CALLBACK InspectChild(HWND child, LPARAM parameter) {
    auto* seen = reinterpret_cast<Appearance*>(parameter);
    wchar_t window_class[16] = {};
    GetClassNameW(child, window_class, 16);
    if (_wcsicmp(window_class, L"Static") != 0)
        return TRUE;
    if (SendMessageW(child, STM_GETICON, 0, 0))
        seen->has_icon = true;
    if (WindowText(child) == L"Текст сообщения")
        seen->text_shown = true;
    return TRUE;
}

Appearance ShowAndInspect(TMessageKind kind) {
    Appearance seen;
    DialogDriver driver([&](HWND dialog) {
        seen.caption = WindowText(dialog);
        EnumChildWindows(dialog, InspectChild, reinterpret_cast<LPARAM>(&seen));
        PressCloseBox(dialog);
    });
    ShowMessageDlg(L"Текст сообщения", kind, mbOK, nullptr);
    return seen;
}

TEST(MessageDialog, KindGivesCaptionAndIcon) {
    const struct {
        TMessageKind kind;
        const wchar_t* caption;
    } kinds[] = {{mkWarning, L"Предупреждение"},
                 {mkError, L"Ошибка"},
                 {mkInformation, L"Информация"},
                 {mkConfirmation, L"Подтверждение"}};
    for (const auto& k : kinds) {
        const Appearance seen = ShowAndInspect(k.kind);
        EXPECT_EQ(seen.caption, k.caption);
        EXPECT_TRUE(seen.has_icon) << testing::PrintToString(k.caption);
        EXPECT_TRUE(seen.text_shown) << testing::PrintToString(k.caption);
    }
}

TEST(MessageDialog, CustomKindShowsTheApplicationTitleAndNoIcon) {
    const Appearance seen = ShowAndInspect(mkCustom);
    EXPECT_EQ(seen.caption, L"common_message_dialog_test");
    EXPECT_FALSE(seen.has_icon);
}

TEST(MessageDialog, AnsiTextIsShownInTheProcessCodePage) {
    bool text_shown = false;
    DialogDriver driver([&](HWND dialog) {
        Appearance seen;
        EnumChildWindows(dialog, InspectChild, reinterpret_cast<LPARAM>(&seen));
        text_shown = seen.text_shown;
        PressCloseBox(dialog);
    });
    // "Текст сообщения" in Windows-1251, as the library's own texts are kept.
    ShowMessageDlg(std::string_view("\xD2\xE5\xEA\xF1\xF2 \xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xFF"),
                   mkInformation, mbOK, nullptr);
    EXPECT_TRUE(text_shown);
}

// A top-level window of the test's thread, standing in for the host's window.
class HostWindow {
public:
    HostWindow() {
        window_ = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                  300, 200, nullptr, nullptr, nullptr, nullptr);
    }
    ~HostWindow() { DestroyWindow(window_); }
    HWND Get() const { return window_; }

private:
    HWND window_;
};

HWND OwnerOfDialogShownWith(HWND owner) {
    HWND seen = nullptr;
    DialogDriver driver([&](HWND dialog) {
        seen = GetWindow(dialog, GW_OWNER);
        PressCloseBox(dialog);
    });
    ShowMessageDlg(L"text", mkInformation, mbOK, owner);
    return seen;
}

TEST(MessageDialogOwner, GivenOwnerIsUsed) {
    HostWindow host;
    EXPECT_EQ(OwnerOfDialogShownWith(host.Get()), host.Get());
}

TEST(MessageDialogOwner, NoOwnerMeansTheActiveWindow) {
    HostWindow host;
    SetActiveWindow(host.Get());
    ASSERT_EQ(GetActiveWindow(), host.Get());
    EXPECT_EQ(OwnerOfDialogShownWith(nullptr), host.Get());
}

TEST(MessageDialogOwner, WithoutActiveWindowTheApplicationWindowOwns) {
    HostWindow host;
    ShowWindow(host.Get(), SW_HIDE);
    SetActiveWindow(nullptr);
    ASSERT_EQ(GetActiveWindow(), nullptr);
    Application().SetHandle(host.Get());
    EXPECT_EQ(OwnerOfDialogShownWith(nullptr), host.Get());
    Application().SetHandle(nullptr);
}

} // namespace
