#include "editor_user.h"

#include "support/dialog_driver.h"
#include "support/file_dialog_driver.h"
#include "execution/scenario_editor_form.h"

#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

using kv::execution::kSceneryWindowClass;

namespace {

// Long enough for a slow machine; a wait this long means the window never came.
constexpr int kWaitSteps = 3000;
constexpr DWORD kStep = 10;

struct Search {
    const wchar_t* windowClass;
    bool (*accept)(HWND window);
    HWND found = nullptr;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    wchar_t windowClass[64] = {};
    GetClassNameW(window, windowClass, 64);
    if (std::wstring_view(windowClass) == search->windowClass && IsWindowVisible(window) &&
        (!search->accept || search->accept(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindOnThread(DWORD thread, const wchar_t* windowClass, bool (*accept)(HWND)) {
    Search search{windowClass, accept};
    EnumThreadWindows(thread, FindVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsMessageDialog(HWND dialog) {
    return GetDlgItem(dialog, 90) != nullptr; // the message text
}

// The thread has finished what was sent before and waits for input.
bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
}

BOOL CALLBACK FindRichEdit(HWND window, LPARAM parameter) {
    wchar_t windowClass[64] = {};
    GetClassNameW(window, windowClass, 64);
    if (_wcsnicmp(windowClass, L"RichEdit", 8) == 0) {
        *reinterpret_cast<HWND*>(parameter) = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND EditorUser::FindWindowOfClass(const wchar_t* windowClass) const {
    return FindOnThread(thread_, windowClass, nullptr);
}

bool EditorUser::WaitUntil(const std::function<bool()>& condition, const char* what) {
    for (int step = 0; step < kWaitSteps; ++step) {
        if (condition())
            return true;
        Sleep(kStep);
    }
    failures_ += std::string("never happened: ") + what + "\n";
    CancelEverything();
    return false;
}

HWND EditorUser::WaitForDialog(bool (*kind)(HWND dialog), const char* what) {
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            dialog = FindOnThread(thread_, L"#32770", kind);
            return dialog && Answers(dialog);
        },
        what);
    return dialog;
}

HWND EditorUser::WaitForFileDialog() {
    return WaitForDialog(IsFileDialog, "a file dialog");
}

HWND EditorUser::WaitForMessage() {
    return WaitForDialog(IsMessageDialog, "a message");
}

HWND EditorUser::WaitForEditor() {
    HWND editor = nullptr;
    WaitUntil(
        [&] {
            editor = FindWindowOfClass(kSceneryWindowClass);
            return editor && IsWindowEnabled(editor) && !FindWindowOfClass(L"#32770") &&
                   Answers(editor);
        },
        "the editor waiting for the user");
    return editor;
}

void EditorUser::CancelEverything() {
    for (int round = 0; round < 50; ++round) {
        HWND dialog = FindWindowOfClass(L"#32770");
        HWND editor = FindWindowOfClass(kSceneryWindowClass);
        if (!dialog && !editor)
            return;
        if (dialog)
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        else
            ClickCancel(editor);
        Sleep(100);
    }
}

UserThread::UserThread(std::function<void(EditorUser&)> script)
    : user_(GetCurrentThreadId()), helper_([this, script = std::move(script)] { script(user_); }) {}

UserThread::~UserThread() {
    helper_.join();
    if (!user_.Failures().empty())
        ADD_FAILURE() << user_.Failures();
}

std::wstring MessageText(HWND dialog) {
    return WindowText(GetDlgItem(dialog, 90));
}

void Answer(HWND dialog, const wchar_t* buttonCaption) {
    Click(FindButton(dialog, buttonCaption));
}

HWND TextWindow(HWND editor) {
    HWND found = nullptr;
    EnumChildWindows(editor, FindRichEdit, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring EditorText(HWND editor) {
    HWND text = TextWindow(editor);
    GETTEXTLENGTHEX length{GTL_USECRLF | GTL_NUMCHARS | GTL_PRECISE, 1200};
    const auto count = static_cast<std::size_t>(
        SendMessageW(text, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
    std::wstring buffer(count + 1, L'\0');
    GETTEXTEX request{static_cast<DWORD>(buffer.size() * sizeof(wchar_t)), GT_USECRLF, 1200,
                      nullptr, nullptr};
    buffer.resize(static_cast<std::size_t>(SendMessageW(text, EM_GETTEXTEX,
                                                        reinterpret_cast<WPARAM>(&request),
                                                        reinterpret_cast<LPARAM>(buffer.data()))));
    return buffer;
}

void ReplaceText(HWND editor, const std::wstring& text) {
    HWND window = TextWindow(editor);
    CHARRANGE all{0, -1};
    SendMessageW(window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    SendMessageW(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TypeAtEnd(HWND editor, const std::wstring& text) {
    HWND window = TextWindow(editor);
    CHARRANGE end{-1, -1};
    SendMessageW(window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
    SendMessageW(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

Caret CaretOf(HWND editor) {
    HWND window = TextWindow(editor);
    CHARRANGE selection{};
    SendMessageW(window, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    const auto line = static_cast<int>(SendMessageW(window, EM_EXLINEFROMCHAR, 0, selection.cpMin));
    const auto start = static_cast<LONG>(SendMessageW(window, EM_LINEINDEX, line, 0));
    return {line + 1, static_cast<int>(selection.cpMin - start)};
}

std::wstring ErrorLine(HWND editor) {
    return WindowText(GetDlgItem(editor, kv::execution::kErrorLineId));
}

void ClickRun(HWND editor) {
    Click(GetDlgItem(editor, kv::execution::kRunButtonId));
}

void ClickCancel(HWND editor) {
    Click(GetDlgItem(editor, kv::execution::kCancelButtonId));
}

POINT ToolButtonCentre(HWND editor, int index) {
    HWND toolBar = GetDlgItem(editor, kv::execution::kToolBarId);
    RECT button{};
    SendMessageW(toolBar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button));
    POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    ClientToScreen(toolBar, &centre);
    return centre;
}

void ClickToolButton(HWND editor, int index) {
    HWND toolBar = GetDlgItem(editor, kv::execution::kToolBarId);
    POINT centre = ToolButtonCentre(editor, index);
    ScreenToClient(toolBar, &centre);
    const LPARAM at = MAKELPARAM(centre.x, centre.y);
    PostMessageW(toolBar, WM_MOUSEMOVE, 0, at);
    PostMessageW(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(toolBar, WM_LBUTTONUP, 0, at);
}
