// TScriptEditorAX: the scenario editor's text control, a rich-edit control (msftedit, else
// riched20) in a window of its own. It offers what the scenario editor form uses: the text, a
// change event, word lists and the kernel's object description for colouring, global objects,
// moving to a line and the caret's column. VBScript is shown in a fixed-pitch font, its words
// coloured as they are typed; lines are never wrapped, so a line of the text is a line on screen.
#pragma once

#include "execution/vbscript_highlight.h"

#include "platform/win_owners.h"

#include <windows.h>
#include <richedit.h>

#include <functional>
#include <string>
#include <string_view>

namespace kv::execution {

class TScriptEditorAX {
public:
    // Creates the control as a hidden child of `parent`; raises when the platform has no
    // rich-edit control or the windows cannot be made.
    explicit TScriptEditorAX(HWND parent);
    TScriptEditorAX(const TScriptEditorAX&) = delete;
    TScriptEditorAX& operator=(const TScriptEditorAX&) = delete;
    ~TScriptEditorAX();

    // The control's window, placed by its owner.
    HWND Handle() const noexcept { return frame_.Get(); }
    // The window that has the keyboard while the control has the focus.
    HWND EditWindow() const noexcept { return edit_; }
    void Focus() const noexcept { SetFocus(edit_); }

    // The text; lines end with CR LF.
    std::wstring Text() const;
    // Replaces the text without raising OnChange; the caret goes to the start and the undo
    // history is cleared.
    void SetText(std::wstring_view text);

    // Raised after every change the user makes to the text.
    std::function<void()> OnChange;

    // Settings the control keeps for its host. UseHighlighter 0 colours VBScript, any other
    // value shows plain text.
    int EnabledActions() const noexcept { return enabled_actions_; }
    void SetEnabledActions(int actions) noexcept { enabled_actions_ = actions; }
    bool ParseDefineDirective() const noexcept { return parse_define_directive_; }
    void SetParseDefineDirective(bool parse) noexcept { parse_define_directive_ = parse; }
    bool ShowMethodNavigator() const noexcept { return show_method_navigator_; }
    void SetShowMethodNavigator(bool show) noexcept { show_method_navigator_ = show; }
    int UseHighlighter() const noexcept { return use_highlighter_; }
    void SetUseHighlighter(int highlighter);

    // The caret's line (from 1) and column (characters before it on its line, from 0).
    int CaretY() const;
    int CaretX() const;
    // Moves the caret along its line; a column past the line's end puts it at the end.
    void SetCaretX(int column);
    // Puts the caret at the start of the line (from 1; clamped to the text) and shows it.
    void GotoLine(int line);

    // Adds the words of a word list file (a name without folder is looked for beside the
    // library). False, and nothing changed, when it is missing or not a word list.
    bool LoadWordList(std::wstring_view fileName);
    // Adds the member names of an object description file; false when it cannot be read.
    bool LoadObjectSpec(std::wstring_view path);
    // Declares a global object of the scripts, such as mdl; its name is coloured.
    bool AddGlobalObject(std::wstring_view name, std::wstring_view description, int kind,
                         std::wstring_view typeName, int flags);

private:
    static LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    std::wstring RawText() const; // paragraphs end with CR: positions are the control's
    void SelectionChanged(const CHARRANGE& selection);
    void TextChanged();
    void ColourLines(const std::wstring& raw, int firstLine, int lastLine);
    void Recolour();

    LoadedModule rich_edit_library_;
    WindowOwner frame_; // the rich edit inside it goes with it; before the module goes
    HWND edit_ = nullptr;
    HFONT font_ = nullptr;
    Vocabulary words_;
    std::wstring shown_; // the raw text as last coloured
    // The last two selections the control reported: text typed over a selection replaces it
    // in one format, even where it reads as before, so its lines are coloured again.
    CHARRANGE selections_[2] = {};
    bool quiet_ = false; // changes made by the control itself raise nothing
    int enabled_actions_ = 0;
    bool parse_define_directive_ = false;
    bool show_method_navigator_ = false;
    int use_highlighter_ = 0;
};

} // namespace kv::execution
