// The windows of the scenario editor form and where they go.
#include "execution/scenario_editor_form.h"

#include "common/application.h"
#include "execution/scenario_editor_layout.h"
#include "platform/barriers.h"
#include "platform/module_path.h"
#include "platform/text_conversion.h"

namespace kv::execution {

namespace {

constexpr wchar_t kFormFontFace[] = L"MS Sans Serif";
constexpr int kFormFontHeight = -11;

[[noreturn]] void RaiseWindowError() {
    throw LibraryError(HRESULT_FROM_WIN32(GetLastError()),
                       L"Не удалось создать окно редактора сценария");
}

HWND CreateChild(HWND form, const wchar_t* windowClass, const wchar_t* text, DWORD style, int id,
                 DWORD extendedStyle = 0) {
    HWND child = CreateWindowExW(extendedStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, 0,
                                 0, 0, 0, form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 ThisModule(), nullptr);
    if (!child)
        RaiseWindowError();
    return child;
}

// eError's single border, drawn in the button-shadow colour.
LRESULT CALLBACK ErrorLineBorder(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                 UINT_PTR id, DWORD_PTR) {
    if (message == WM_NCPAINT) {
        const WindowDC dc(window, WindowDC::WholeWindow);
        RECT frame{};
        GetWindowRect(window, &frame);
        OffsetRect(&frame, -frame.left, -frame.top);
        FrameRect(dc.Get(), &frame, GetSysColorBrush(COLOR_BTNSHADOW));
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, ErrorLineBorder, id);
    return DefSubclassProc(window, message, wparam, lparam);
}

void MoveTo(HWND window, const FormRect& bounds, int top) {
    MoveWindow(window, bounds.left, top + bounds.top, bounds.width, bounds.height, TRUE);
}

} // namespace

void TfScenery::CreateWindows() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW formClass{};
    formClass.cbSize = sizeof(formClass);
    if (!GetClassInfoExW(ThisModule(), kSceneryWindowClass, &formClass)) {
        formClass.lpfnWndProc = WindowProcedure;
        formClass.hInstance = ThisModule();
        formClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // arrow
        formClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        formClass.lpszClassName = kSceneryWindowClass;
        if (!RegisterClassExW(&formClass))
            RaiseWindowError();
    }

    // The client area of the design, centred on the screen, owned by the application's window.
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    const DWORD extendedStyle = WS_EX_CONTROLPARENT;
    RECT frame{0, 0, kEditorClientWidth, kEditorClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const FormPosition position = CentredOnScreen(GetSystemMetrics(SM_CXSCREEN),
                                                  GetSystemMetrics(SM_CYSCREEN), width, height);
    form_.Reset(CreateWindowExW(extendedStyle, kSceneryWindowClass, L"Сценарий", style,
                                position.left, position.top, width, height,
                                Application().Handle(), nullptr, ThisModule(), this));
    if (!form_)
        RaiseWindowError();
    icon_ = CreateEditorIcon();
    SendMessageW(form_.Get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageW(form_.Get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    form_font_ = FontOwner(CreateFontW(kFormFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                       kFormFontFace));
    SendMessageW(form_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(form_font_.Get()), FALSE);
    CreateToolBar();
    CreateBottomControls();
}

void TfScenery::CreateToolBar() {
    tool_bar_ = CreateChild(form_.Get(), TOOLBARCLASSNAMEW, L"", TBSTYLE_FLAT | CCS_TOP | CCS_NODIVIDER,
                            kToolBarId);
    SendMessageW(tool_bar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    images_ = CreateToolBarImages();
    SendMessageW(tool_bar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
    // Images only; each button's caption is its hint.
    TBBUTTON buttons[] = {
        {0, kOpenButtonId, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
        {1, kSaveButtonId, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
        {2, kSaveAsButtonId, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
    };
    SendMessageW(tool_bar_, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
    SendMessageW(tool_bar_, WM_SETFONT, reinterpret_cast<WPARAM>(form_font_.Get()), FALSE);
    SendMessageW(tool_bar_, TB_AUTOSIZE, 0, 0);
    hints_ = std::make_unique<ToolBarHints>(
        tool_bar_, form_.Get(),
        std::vector<std::string>{ShownAnsiFromWide(L"Открыть ..."), ShownAnsiFromWide(L"Сохранить"),
                                 ShownAnsiFromWide(L"Сохранить как ...")});
}

void TfScenery::CreateBottomControls() {
    error_line_ = CreateChild(form_.Get(), L"EDIT", L"",
                              WS_BORDER | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, kErrorLineId);
    SetWindowSubclass(error_line_, ErrorLineBorder, 1, 0);
    run_button_ =
        CreateChild(form_.Get(), L"BUTTON", L"Выполнить", WS_TABSTOP | BS_DEFPUSHBUTTON, kRunButtonId);
    cancel_button_ =
        CreateChild(form_.Get(), L"BUTTON", L"Отмена", WS_TABSTOP | BS_PUSHBUTTON, kCancelButtonId);
    status_bar_ = CreateChild(form_.Get(), STATUSCLASSNAMEW, L"",
                              SBARS_SIZEGRIP | CCS_NORESIZE | CCS_NOPARENTALIGN, kStatusBarId);
    int onePanel = -1;
    SendMessageW(status_bar_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&onePanel));
    for (HWND control : {error_line_, run_button_, cancel_button_, status_bar_})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(form_font_.Get()), FALSE);
}

void TfScenery::LayOut() {
    RECT client{};
    GetClientRect(form_.Get(), &client);
    SendMessageW(tool_bar_, TB_AUTOSIZE, 0, 0);
    RECT toolBar{};
    GetWindowRect(tool_bar_, &toolBar);
    const ScenarioEditorLayout layout =
        LayOutScenarioEditor(client.right, client.bottom, toolBar.bottom - toolBar.top);
    MoveTo(editor_->Handle(), layout.editor, 0);
    MoveTo(error_line_, layout.errorLine, layout.errorPanel.top);
    MoveTo(run_button_, layout.runButton, layout.buttonPanel.top);
    MoveTo(cancel_button_, layout.cancelButton, layout.buttonPanel.top);
    MoveTo(status_bar_, layout.statusBar, 0);
}

} // namespace kv::execution
