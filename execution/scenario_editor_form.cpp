#include "execution/scenario_editor_form.h"

#include "execution/scenario_editor_text.h"
#include "execution/window_object.h"
#include "platform/module_path.h"

namespace kv::execution {

namespace {

// The window property that leads the key filter from the editor's window to the form.
constexpr wchar_t kFormProperty[] = L"TfScenery";
constexpr int kCancelResult = 2;
// The keys the editor wants while it has the focus, so that they do not go to the dialog
// navigation: Ctrl+Break, Tab, Enter, Escape, the arrows and Execute.
constexpr WPARAM kEditorKeys[] = {3,     VK_TAB,   VK_RETURN, VK_ESCAPE, VK_LEFT,
                                  VK_UP, VK_RIGHT, VK_DOWN,   43};

bool IsEditorKey(WPARAM key) {
    for (WPARAM wanted : kEditorKeys)
        if (key == wanted)
            return true;
    return false;
}

} // namespace

TfScenery::TfScenery() {
    CreateWindows();
    try {
        FormCreate();
    } catch (...) {
        FormDestroy(); // the editor's subclass undone; the owners free the rest
        throw;
    }
}

TfScenery::~TfScenery() {
    FormDestroy();
}

void TfScenery::FormCreate() {
    // The editor control is made after the fonts are scaled: its font is its own.
    scaled_fonts_ = ScaleControlFonts(form_.Get());
    editor_ = std::make_unique<TScriptEditorAX>(form_.Get());
    editor_->OnChange = [this] { mTextChange(); };
    editor_->SetParseDefineDirective(true);
    HWND editWindow = editor_->EditWindow();
    SetPropW(editWindow, kFormProperty, this);
    saved_editor_procedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(editWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KeyFilter)));
    editor_->SetEnabledActions(79);
    editor_->SetUseHighlighter(0);
    const std::wstring dataFolder = EditorDataFolder(ModulePath(nullptr));
    editor_->LoadWordList(L"VBScriptFunc.xml");
    editor_->LoadWordList(L"VBScriptOper.xml");
    editor_->LoadObjectSpec(dataFolder + L"zkernel.spc");
    editor_->AddGlobalObject(L"mdl", L"возвращает текущую модель", 0, L"IZModel", 0);
    editor_->SetText(L"");
    editor_->SetShowMethodNavigator(true);
    modified_ = false;
    LayOut();
    ShowWindow(editor_->Handle(), SW_SHOW);
}

void TfScenery::FormDestroy() {
    if (!editor_)
        return;
    HWND editWindow = editor_->EditWindow();
    if (saved_editor_procedure_)
        SetWindowLongPtrW(editWindow, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(saved_editor_procedure_));
    RemovePropW(editWindow, kFormProperty);
    editor_.reset();
}

int TfScenery::ShowModal() {
    HWND owner = GetWindow(form_.Get(), GW_OWNER);
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner)
        EnableWindow(owner, FALSE);
    ShowWindow(form_.Get(), SW_SHOWNORMAL);
    SetForegroundWindow(form_.Get());
    modal_result_ = 0;
    RunHandler([&] { FormShow(); });
    while (modal_result_ == 0) {
        MSG message;
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The host is quitting: the form closes and the quit goes on to the host's loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            modal_result_ = kCancelResult;
            break;
        }
        if (got == -1) {
            modal_result_ = kCancelResult;
            break;
        }
        CommandOrShortCut(message);
    }
    // The owner comes back before the form goes, so that it is activated in its place.
    if (disableOwner)
        EnableWindow(owner, TRUE);
    ShowWindow(form_.Get(), SW_HIDE);
    return modal_result_;
}

void TfScenery::CommandOrShortCut(const MSG& message) {
    if (message.message == WM_KEYDOWN && (message.hwnd == form_.Get() || IsChild(form_.Get(), message.hwnd))) {
        bool handled = false;
        RunHandler([&] { handled = FormShortCut(message.wParam); });
        if (handled)
            return;
    }
    if (IsDialogMessageW(form_.Get(), const_cast<MSG*>(&message)))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void TfScenery::Close() {
    if (FormCloseQuery())
        modal_result_ = kCancelResult;
}

void TfScenery::mTextChange() {
    modified_ = true;
}

void TfScenery::Command(int id) {
    switch (id) {
    case kOpenButtonId:
        bOpenClick();
        break;
    case kSaveButtonId:
        bSaveClick();
        break;
    case kSaveAsButtonId:
        bSaveAsClick();
        break;
    case kRunButtonId:
        bRunClick();
        break;
    case kCancelButtonId:
        bCancelClick();
        break;
    }
}

LRESULT CALLBACK TfScenery::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
    auto* form = WindowObject<TfScenery>(window, message, lparam);
    switch (message) {
    case WM_CLOSE: // the close box, Alt+F4 and posted close requests
        if (form)
            form->RunHandler([&] { form->Close(); });
        return 0;
    case WM_COMMAND:
        if (form && (lparam != 0 || HIWORD(wparam) == 0))
            form->RunHandler([&] { form->Command(LOWORD(wparam)); });
        return 0;
    case DM_GETDEFID: // Enter outside the editor presses bRun
        return MAKELRESULT(kRunButtonId, DC_HASDEFID);
    case WM_SIZE:
        if (form && form->editor_)
            form->RunHandler([&] { form->LayOut(); });
        return 0;
    case WM_ACTIVATE:
        if (form && LOWORD(wparam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window, focus))
                form->last_focus_ = focus;
        }
        break;
    case WM_SETFOCUS:
        if (form && form->last_focus_ && IsWindow(form->last_focus_))
            SetFocus(form->last_focus_);
        else if (form && form->editor_)
            form->editor_->Focus();
        return 0;
    case WM_SETFONT:
        if (form)
            form->shown_font_ = reinterpret_cast<HFONT>(wparam);
        return 0;
    case WM_GETFONT:
        return form ? reinterpret_cast<LRESULT>(form->shown_font_) : 0;
    case WM_CTLCOLORSTATIC: // the read-only error line
        if (form && reinterpret_cast<HWND>(lparam) == form->error_line_) {
            SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_INACTIVEBORDER));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INACTIVEBORDER));
        }
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// The editor's window procedure while the form lives: the editor first, then the keys it wants
// are claimed from the dialog navigation, so Enter does not press bRun and Tab stays in the text.
// The editor is asked without the key: told of it, a rich edit takes itself for a dialog's
// control and hands Enter, Tab and Escape to its parent instead of the text.
LRESULT CALLBACK TfScenery::KeyFilter(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* form = static_cast<TfScenery*>(GetPropW(window, kFormProperty));
    const WNDPROC saved = form ? form->saved_editor_procedure_ : nullptr;
    if (!saved)
        return DefWindowProcW(window, message, wparam, lparam);
    LRESULT result =
        CallWindowProcW(saved, window, message, wparam, message == WM_GETDLGCODE ? 0 : lparam);
    if (message == WM_GETDLGCODE && lparam) {
        const MSG* key = reinterpret_cast<const MSG*>(lparam);
        if ((key->message == WM_KEYDOWN || key->message == WM_CHAR) && IsEditorKey(key->wParam))
            result |= DLGC_WANTMESSAGE;
    }
    return result;
}

} // namespace kv::execution
