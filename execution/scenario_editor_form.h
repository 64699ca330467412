// TfScenery: the scenario editor window. The user opens a scenario file, edits it in the
// editor control, saves it and runs it against the model; a failed run shows its error line and
// puts the caret at the error. A window of the platform (no framework) with a modal loop of its
// own that keeps its owner disabled while it is shown.
#pragma once

#include "common/application.h"
#include "common/font_scale.h"
#include "execution/scenario_editor_hints.h"
#include "execution/scenario_editor_images.h"
#include "execution/script_editor_ax.h"
#include "platform/gdi_owners.h"
#include "platform/win_owners.h"
#include "platform/window_barrier.h"
#include "zkernel.h"

#include <windows.h>
#include <commctrl.h>

#include <wrl/client.h>

#include <memory>
#include <string>

namespace kv::execution {

// Control identifiers of the form's parts.
enum SceneryControlId : int {
    kOpenButtonId = 201,   // bOpen
    kSaveButtonId = 202,   // bSave
    kSaveAsButtonId = 203, // bSaveAs
    kRunButtonId = 211,    // bRun, the default button
    kCancelButtonId = 212, // bCancel
    kErrorLineId = 221,    // eError
    kToolBarId = 231,
    kStatusBarId = 232,
};

// The window class of the form, for tests and automation.
constexpr wchar_t kSceneryWindowClass[] = L"TfScenery";

// Keeps a window disabled for a scope, as a modal message keeps the windows under it, and
// activates it again afterwards.
class DisabledWindow {
public:
    explicit DisabledWindow(HWND window) : window_(window), was_enabled_(IsWindowEnabled(window)) {
        EnableWindow(window_, FALSE);
    }
    DisabledWindow(const DisabledWindow&) = delete;
    DisabledWindow& operator=(const DisabledWindow&) = delete;
    ~DisabledWindow() {
        EnableWindow(window_, was_enabled_);
        SetActiveWindow(window_);
    }

private:
    HWND window_;
    BOOL was_enabled_;
};

class TfScenery {
public:
    // FormCreate: the window and its parts, hidden, owned by the application object's window.
    TfScenery();
    TfScenery(const TfScenery&) = delete;
    TfScenery& operator=(const TfScenery&) = delete;
    // FormDestroy, then the window.
    ~TfScenery();

    void SetModel(IZModel* model) { model_ = model; }
    // Shows the form with its owner disabled and returns when it closes: the modal result (2,
    // cancel, whichever way it was closed).
    int ShowModal();

private:
    // Event handlers, by the form's published names.
    void FormCreate();
    void FormShow();
    bool FormShortCut(WPARAM key);
    bool FormCloseQuery();
    void FormDestroy();
    void bOpenClick();
    void bSaveClick();
    void bSaveAsClick();
    void bRunClick();
    void bCancelClick();
    void mTextChange();

    // Building the window (scenario_editor_form_layout.cpp).
    void CreateWindows();
    void CreateToolBar();
    void CreateBottomControls();
    void LayOut();

    // A close request, as the close box makes it: the form closes when FormCloseQuery allows.
    void Close();
    // The question before changes are lost: true to go on (saved or dropped), false to stop.
    bool ChangesMayGo();
    // Writes the text to the current file, or raises.
    void WriteText();
    void ShowRunError(long line, long column, const std::wstring& description);
    void Command(int id);
    void CommandOrShortCut(const MSG& message);
    // Runs an event handler. Its errors go to the library's error handling as the barrier of
    // every window sends them, with the form disabled meanwhile: the message is owned by the
    // host's window, and the form must not take input under it.
    template <class Handler> bool RunHandler(Handler&& handler) {
        return RunWindowHandler([&] {
            try {
                handler();
            } catch (...) {
                const DisabledWindow disabled(form_.Get());
                Application().HandleException(std::current_exception());
            }
        });
    }

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam);
    static LRESULT CALLBACK KeyFilter(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    // The form's fields.
    std::wstring file_name_; // the current file; empty when there is none
    bool modified_ = false;  // the text changed since it was last opened or saved
    WNDPROC saved_editor_procedure_ = nullptr;
    std::unique_ptr<TScriptEditorAX> editor_;
    Microsoft::WRL::ComPtr<IZModel> model_;

    // Its windows and their resources.
    HWND tool_bar_ = nullptr;
    // Panel1 and Panel2 only place their controls: the controls are the form's own children, so
    // that the dialog navigation finds the default button.
    HWND error_line_ = nullptr; // eError, on Panel2
    HWND run_button_ = nullptr;
    HWND cancel_button_ = nullptr;
    HWND status_bar_ = nullptr;
    HWND last_focus_ = nullptr; // given back when the form is activated again
    ImageListOwner images_;     // imgs
    IconOwner icon_;
    FontOwner form_font_;
    HFONT shown_font_ = nullptr; // what WM_GETFONT answers
    ScaledFonts scaled_fonts_;
    // Declared after the images, fonts and icon it uses, so that it goes before them; the hints
    // go before it.
    WindowOwner form_;
    std::unique_ptr<ToolBarHints> hints_;
    int modal_result_ = 0;
};

} // namespace kv::execution
