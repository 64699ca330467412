// The message dialog as drawn: its geometry follows the formulas from what its own font
// measures (never fixed pixel widths), Ctrl+C copies its texts, and a screenshot is kept.
#include "support/dialog_driver.h"
#include "support/screenshot.h"

#include "common/application.h"
#include "common/draw_markup_text.h"
#include "platform/barriers.h"
#include "common/font_scale.h"
#include "platform/gdi_owners.h"
#include "common/message_dialog.h"
#include "common/message_form.h"
#include "common/message_form_layout.h"
#include "platform/text_conversion.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>

using namespace kv;

void PrintTo(const FormRect& rect, std::ostream* out) {
    *out << "(" << rect.left << ", " << rect.top << ", " << rect.width << " x " << rect.height
         << ")";
}

namespace {

RECT ChildBounds(HWND dialog, HWND child) {
    RECT bounds{};
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

FormRect AsFormRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// What the dialog shows: the places of its parts and its fonts.
struct SeenForm {
    FormRect client;
    RECT window{};
    std::optional<FormRect> icon;
    FormRect text;
    std::vector<FormRect> buttons;
    HFONT font = nullptr;
    HFONT button_font = nullptr;
};

SeenForm Look(HWND dialog) {
    SeenForm seen;
    RECT client{};
    GetClientRect(dialog, &client);
    seen.client = AsFormRect(client);
    GetWindowRect(dialog, &seen.window);
    if (HWND icon = GetDlgItem(dialog, MessageIconId))
        seen.icon = AsFormRect(ChildBounds(dialog, icon));
    seen.text = AsFormRect(ChildBounds(dialog, GetDlgItem(dialog, MessageTextId)));
    for (HWND button : ButtonsLeftToRight(dialog))
        seen.buttons.push_back(AsFormRect(ChildBounds(dialog, button)));
    seen.font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (!seen.buttons.empty())
        seen.button_font = reinterpret_cast<HFONT>(
            SendMessageW(ButtonsLeftToRight(dialog).front(), WM_GETFONT, 0, 0));
    return seen;
}

// The layout the formulas give for what the dialog's font measures here.
MessageFormLayout ExpectedLayout(HFONT font, const std::string& text, TMessageButtons buttons,
                                 bool has_icon) {
    WindowDC screen(nullptr);
    ObjectSelection selection(screen.Get(), font);
    SIZE sample{};
    GetTextExtentPoint32A(screen.Get(), DialogUnitSample.data(),
                          static_cast<int>(DialogUnitSample.size()), &sample);
    const MessageFormMetrics metrics =
        MessageFormMetricsFor(DialogUnitsFromExtent(sample.cx, sample.cy));
    int button_width = metrics.button_width;
    int count = 0;
    for (int row = 0; row < MessageButtonCount; ++row) {
        if (!HasButton(buttons, static_cast<MessageButton>(row)))
            continue;
        ++count;
        const std::wstring caption =
            WideFromUtf8(ButtonInfo(static_cast<MessageButton>(row)).caption);
        RECT bounds{};
        DrawTextW(screen.Get(), caption.c_str(), -1, &bounds, DT_CALCRECT | DT_SINGLELINE);
        button_width = std::max(button_width, static_cast<int>(bounds.right - bounds.left) + 8);
    }
    RECT text_size{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
    DrawMarkupText(screen.Get(), text, 0, 0, true, true, true, text_size);
    return LayOutMessageForm(metrics, text_size.right, text_size.bottom, has_icon, count,
                             button_width);
}

struct GeometryCase {
    const char* name;
    TMessageKind kind;
    TMessageButtons buttons;
    std::string text; // Windows-1251
};

void PrintTo(const GeometryCase& c, std::ostream* out) {
    *out << c.name;
}

class MessageFormGeometry : public testing::TestWithParam<GeometryCase> {};

TEST_P(MessageFormGeometry, FollowsTheFormulasFromTheMeasuredFont) {
    const GeometryCase& c = GetParam();
    const bool has_icon = c.kind != mkCustom;
    SeenForm seen;
    MessageFormLayout expected;
    DialogDriver driver([&](HWND dialog) {
        seen = Look(dialog);
        expected = ExpectedLayout(seen.font, c.text, c.buttons, has_icon); // while it lives
        PressCloseBox(dialog);
    });
    ShowMessageDlg(std::string_view(c.text), c.kind, c.buttons, nullptr);

    ASSERT_TRUE(seen.font);
    EXPECT_EQ(seen.client.width, expected.client_width);
    EXPECT_EQ(seen.client.height, expected.client_height);
    EXPECT_EQ(seen.text, expected.text);
    EXPECT_EQ(seen.buttons, expected.buttons);
    EXPECT_EQ(seen.icon.has_value(), has_icon);
    if (seen.icon) {
        EXPECT_EQ(*seen.icon, expected.icon);
    }
    const FormPosition centred =
        CentredOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                        seen.window.right - seen.window.left, seen.window.bottom - seen.window.top);
    EXPECT_EQ(seen.window.left, centred.left);
    EXPECT_EQ(seen.window.top, centred.top);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MessageFormGeometry,
    testing::Values(GeometryCase{"ConfirmationYesNoCancel", mkConfirmation, mbYesNoCancel, "Save?"},
                    GeometryCase{"CustomHasNoIcon", mkCustom, mbOK, "one\r\ntwo"},
                    GeometryCase{"EveryButton", mkWarning, 0x7FF, "x"},
                    GeometryCase{"NoButtons", mkError, 0, "x"},
                    GeometryCase{"MarkupText", mkInformation, mbOK,
                                 "H<!lower>2</lower>O and <!bold>bold</bold><!space>text"},
                    GeometryCase{"LongTextWraps", mkInformation, mbOK,
                                 std::string(60, 'w') + " " + std::string(60, 'w') + " " +
                                     std::string(60, 'w')}),
    [](const testing::TestParamInfo<GeometryCase>& info) { return std::string(info.param.name); });

TEST(MessageForm, TextWiderThanHalfTheScreenWraps) {
    SeenForm seen;
    TEXTMETRICW metrics{};
    DialogDriver driver([&](HWND dialog) {
        seen = Look(dialog);
        WindowDC screen(nullptr);
        ObjectSelection selection(screen.Get(), seen.font);
        GetTextMetricsW(screen.Get(), &metrics);
        PressCloseBox(dialog);
    });
    const std::string word(40, 'w');
    ShowMessageDlg(std::string_view(word + " " + word + " " + word + " " + word), mkInformation,
                   mbOK, nullptr);
    EXPECT_LE(seen.text.width, GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_GE(seen.text.height, 2 * metrics.tmHeight);
}

LOGFONTW DescriptionOf(HFONT font) {
    LOGFONTW description{};
    GetObjectW(font, sizeof(description), &description);
    return description;
}

TEST(MessageForm, FontsAreTheScaledLibraryFonts) {
    LOGFONTW form_font{};
    LOGFONTW button_font{};
    DialogDriver driver([&](HWND dialog) {
        const SeenForm seen = Look(dialog);
        form_font = DescriptionOf(seen.font);
        button_font = DescriptionOf(seen.button_font);
        PressCloseBox(dialog);
    });
    ShowMessageDlg(L"text", mkInformation, mbOK, nullptr);
    EXPECT_STREQ(form_font.lfFaceName, L"Vevevededed");
    EXPECT_EQ(form_font.lfHeight, ScaledFontHeight(-11, FontScale));
    EXPECT_STREQ(button_font.lfFaceName, L"MS Shell Dlg");
    EXPECT_EQ(button_font.lfHeight, ScaledFontHeight(-11, FontScale));
}

// The clipboard's text, or nullopt when it holds none.
std::optional<std::string> ClipboardText() {
    if (!OpenClipboard(nullptr))
        return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void SetClipboardText(const std::string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

// Types C with modifiers as the keyboard would, to the dialog in the foreground.
void TypeC(HWND dialog, bool shift, bool alt) {
    SetForegroundWindow(dialog);
    const BYTE modifiers[] = {VK_CONTROL, VK_SHIFT, VK_MENU};
    const bool held[] = {true, shift, alt};
    for (int i = 0; i < 3; ++i)
        if (held[i])
            keybd_event(modifiers[i], 0, 0, 0);
    keybd_event('C', 0, 0, 0);
    keybd_event('C', 0, KEYEVENTF_KEYUP, 0);
    for (int i = 2; i >= 0; --i)
        if (held[i])
            keybd_event(modifiers[i], 0, KEYEVENTF_KEYUP, 0);
}

const std::string sentinel = "nothing copied";

TEST(MessageFormCopy, CtrlCCopiesCaptionTextAndButtons) {
    SetClipboardText(sentinel);
    std::optional<std::string> copied;
    DialogDriver driver([&](HWND dialog) {
        // Watched without opening the clipboard, which the dialog must be able to open.
        const DWORD before = GetClipboardSequenceNumber();
        TypeC(dialog, false, false);
        for (int attempt = 0; attempt < 500 && GetClipboardSequenceNumber() == before; ++attempt)
            Sleep(10);
        // The dialog has the clipboard open now; it is readable once the copy is complete.
        for (int attempt = 0; attempt < 500; ++attempt) {
            copied = ClipboardText();
            if (copied && copied != sentinel)
                break;
            Sleep(10);
        }
        PressCloseBox(dialog);
    });
    // "Сохранить <!bold>сценарий</bold>?" with Yes, No, Cancel, in Windows-1251.
    const std::string text = "\xD1\xEE\xF5\xF0\xE0\xED\xE8\xF2\xFC <!bold>\xF1\xF6\xE5\xED\xE0"
                             "\xF0\xE8\xE9</bold>?";
    ShowMessageDlg(std::string_view(text), mkConfirmation, mbYesNoCancel, nullptr);
    const std::string divider = "---------------------------\r\n";
    const std::string caption =
        "\xCF\xEE\xE4\xF2\xE2\xE5\xF0\xE6\xE4\xE5\xED\xE8\xE5"; // Подтверждение
    const std::string buttons =
        "\xC4\xE0   \xCD\xE5\xF2   \xCE\xF2\xEC\xE5\xED\xE0   "; // Да Нет Отмена
    EXPECT_EQ(copied, divider + caption + "\r\n" + divider + text + "\r\n" + divider + buttons +
                          "\r\n" + divider);
}

TEST(MessageFormCopy, CtrlShiftCAndCtrlAltCCopyNothing) {
    SetClipboardText(sentinel);
    DialogDriver driver([&](HWND dialog) {
        TypeC(dialog, true, false);
        TypeC(dialog, false, true);
        // Keys are handled in order: once Escape has closed the dialog, both were seen.
        SetForegroundWindow(dialog);
        keybd_event(VK_ESCAPE, 0, 0, 0);
        keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    });
    EXPECT_EQ(ShowMessageDlg(L"text", mkInformation, mbOK, nullptr), 1);
    EXPECT_EQ(ClipboardText(), sentinel);
}

std::vector<std::wstring> caught_messages;
std::atomic<bool> error_caught{false}; // read by the helper thread

void CaptureMessage(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const LibraryError& library_error) {
        caught_messages.push_back(library_error.Message());
    } catch (...) {
        caught_messages.push_back(L"?");
    }
    error_caught = true;
}

TEST(MessageFormCopy, ClipboardHeldElsewhereIsReportedAndTheDialogStays) {
    caught_messages.clear();
    error_caught = false;
    Application().SetExceptionHandler(CaptureMessage);
    SetClipboardText(sentinel);
    bool open_after_error = false;
    DialogDriver driver([&](HWND dialog) {
        if (!OpenClipboard(nullptr)) // held by this thread, the dialog's cannot open it
            return;
        TypeC(dialog, false, false);
        for (int attempt = 0; attempt < 500 && !error_caught; ++attempt)
            Sleep(10);
        CloseClipboard();
        open_after_error = IsWindow(dialog) && IsWindowVisible(dialog);
        PressCloseBox(dialog);
    });
    ShowMessageDlg(L"text", mkInformation, mbOK, nullptr);
    Application().SetExceptionHandler(nullptr);
    EXPECT_EQ(caught_messages, std::vector<std::wstring>{L"Cannot open clipboard"});
    EXPECT_TRUE(open_after_error);
    EXPECT_EQ(ClipboardText(), sentinel);
}

TEST(MessageFormScreenshot, IsKeptForReview) {
    bool saved = false;
    DialogDriver driver([&](HWND dialog) {
        saved = SaveWindowScreenshot(dialog, L"message_form.bmp");
        PressCloseBox(dialog);
    });
    ShowMessageDlg(std::string_view("Markup: <!bold>bold</bold>, H<!lower>2</lower>O, "
                                    "x<!upper>2</upper>, <!font Courier New>Courier</font>.\r\n"
                                    "A second line after a line break."),
                   mkWarning, mbYesNoCancel | ButtonBit(MessageButton::Help), nullptr);
    EXPECT_TRUE(saved);
}

} // namespace
