#include "execution/script_editor_ax.h"

#include "execution/rich_edit_text.h"
#include "execution/window_object.h"
#include "execution/word_list_file.h"
#include "platform/barriers.h"
#include "platform/module_path.h"
#include "platform/window_barrier.h"

#include <algorithm>

namespace kv::execution {

namespace {

constexpr wchar_t kFrameClass[] = L"TScriptEditorAX";

void RegisterFrameClass(WNDPROC procedure) {
    WNDCLASSEXW frame{};
    frame.cbSize = sizeof(frame);
    if (GetClassInfoExW(ThisModule(), kFrameClass, &frame))
        return;
    frame.lpfnWndProc = procedure;
    frame.hInstance = ThisModule();
    frame.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32513)); // I-beam
    frame.lpszClassName = kFrameClass;
    if (!RegisterClassExW(&frame))
        throw LibraryError(HRESULT_FROM_WIN32(GetLastError()),
                           L"Не удалось зарегистрировать класс окна редактора");
}

// A name without folder means the file beside the library.
std::wstring BesideLibrary(std::wstring_view fileName) {
    if (fileName.find_first_of(L"\\/:") != std::wstring_view::npos)
        return std::wstring(fileName);
    std::wstring folder = ModulePath(ThisModule());
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + std::wstring(fileName);
}

// Sets a flag for a scope.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;
    ~FlagScope() { flag_ = false; }

private:
    bool& flag_;
};

} // namespace

TScriptEditorAX::TScriptEditorAX(HWND parent) {
    const wchar_t* editClass = MSFTEDIT_CLASS;
    rich_edit_library_.Reset(LoadLibraryW(L"msftedit.dll"));
    if (!rich_edit_library_) {
        editClass = RICHEDIT_CLASSW;
        rich_edit_library_.Reset(LoadLibraryW(L"riched20.dll"));
    }
    if (!rich_edit_library_)
        throw LibraryError(HRESULT_FROM_WIN32(GetLastError()),
                           L"Не найден элемент редактирования текста (msftedit, riched20)");
    RegisterFrameClass(FrameProcedure);
    frame_.Reset(CreateWindowExW(WS_EX_CONTROLPARENT, kFrameClass, L"",
                                 WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0, parent, nullptr,
                                 ThisModule(), this));
    if (!frame_)
        throw LibraryError(HRESULT_FROM_WIN32(GetLastError()),
                           L"Не удалось создать окно редактора");
    edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, editClass, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL |
                                ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                                ES_NOHIDESEL,
                            0, 0, 0, 0, frame_.Get(), nullptr, ThisModule(), nullptr);
    if (!edit_)
        throw LibraryError(HRESULT_FROM_WIN32(GetLastError()),
                           L"Не удалось создать окно редактора");
    // Scenarios recorded from large structures run to megabytes; lines are never wrapped.
    SendMessageW(edit_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    SendMessageW(edit_, EM_SETTARGETDEVICE, 0, 1);
    SetFormat(edit_, SCF_ALL, TextFormat(TokenColour(TokenKind::Plain)));
    SetFormat(edit_, SCF_DEFAULT, TextFormat(TokenColour(TokenKind::Plain)));
    SendMessageW(edit_, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
}

TScriptEditorAX::~TScriptEditorAX() = default;

std::wstring TScriptEditorAX::RawText() const {
    return RichEditText(edit_);
}

std::wstring TScriptEditorAX::Text() const {
    const std::wstring raw = RawText();
    std::wstring text;
    text.reserve(raw.size() + raw.size() / 16);
    for (wchar_t c : raw) {
        if (c == L'\r')
            text += L"\r\n";
        else
            text += c;
    }
    return text;
}

void TScriptEditorAX::SetText(std::wstring_view text) {
    const FlagScope quiet(quiet_);
    const Vocabulary none;
    const std::string rtf = HighlightedRtf(text, use_highlighter_ == 0 ? words_ : none);
    StreamInRtf(edit_, rtf);
    // The stream carries colours only: the face and size are the control's.
    CHARFORMAT2W face = TextFormat(0);
    face.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET;
    SetFormat(edit_, SCF_ALL, face);
    SendMessageW(edit_, EM_EMPTYUNDOBUFFER, 0, 0);
    CHARRANGE start{0, 0};
    SendMessageW(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    shown_ = RawText();
    selections_[0] = selections_[1] = start;
}

void TScriptEditorAX::SelectionChanged(const CHARRANGE& selection) {
    selections_[0] = selections_[1];
    selections_[1] = selection;
}

void TScriptEditorAX::TextChanged() {
    if (quiet_)
        return;
    std::wstring now = RawText();
    // Only the lines between the first and the last changed character need new colours.
    const std::size_t common = std::min(now.size(), shown_.size());
    std::size_t prefix = 0;
    while (prefix < common && now[prefix] == shown_[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < common - prefix &&
           now[now.size() - 1 - suffix] == shown_[shown_.size() - 1 - suffix])
        ++suffix;
    // The selection the change replaced is one of the last two reported (the platform reports
    // the new one before or after the change); the caret stands after what was put in.
    CHARRANGE caret{};
    SendMessageW(edit_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    const LONG length = static_cast<LONG>(now.size());
    const LONG first = std::clamp<LONG>(
        std::min({static_cast<LONG>(prefix), selections_[0].cpMin, selections_[1].cpMin}), 0,
        length);
    const LONG last =
        std::clamp<LONG>(std::max(static_cast<LONG>(now.size() - suffix), caret.cpMax), 0, length);
    const int firstLine = static_cast<int>(SendMessageW(edit_, EM_EXLINEFROMCHAR, 0, first));
    const int lastLine = static_cast<int>(SendMessageW(edit_, EM_EXLINEFROMCHAR, 0, last));
    if (use_highlighter_ == 0)
        ColourLines(now, firstLine, lastLine);
    shown_ = std::move(now);
    selections_[0] = selections_[1] = caret;
    if (OnChange)
        OnChange();
}

void TScriptEditorAX::ColourLines(const std::wstring& raw, int firstLine, int lastLine) {
    const QuietRecolouring quiet(edit_);
    auto start = static_cast<std::size_t>(SendMessageW(edit_, EM_LINEINDEX, firstLine, 0));
    for (int line = firstLine; line <= lastLine && start <= raw.size(); ++line) {
        std::size_t end = raw.find(L'\r', start);
        if (end == std::wstring::npos)
            end = raw.size();
        const std::wstring_view text = std::wstring_view(raw).substr(start, end - start);
        // Plain first, in the control's face: text pasted from elsewhere loses its own format.
        CHARRANGE whole{static_cast<LONG>(start), static_cast<LONG>(end)};
        SendMessageW(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&whole));
        SetFormat(edit_, SCF_SELECTION, TextFormat(TokenColour(TokenKind::Plain)));
        for (const Token& token : HighlightLine(text, words_))
            SetColour(edit_, static_cast<LONG>(start + token.start),
                      static_cast<LONG>(start + token.start + token.length),
                      TokenColour(token.kind));
        start = end + 1;
    }
}

void TScriptEditorAX::Recolour() {
    if (!shown_.empty())
        SetText(Text());
}

void TScriptEditorAX::SetUseHighlighter(int highlighter) {
    if (highlighter == use_highlighter_)
        return;
    use_highlighter_ = highlighter;
    Recolour();
}

int TScriptEditorAX::CaretY() const {
    CHARRANGE selection{};
    SendMessageW(edit_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    return static_cast<int>(SendMessageW(edit_, EM_EXLINEFROMCHAR, 0, selection.cpMin)) + 1;
}

int TScriptEditorAX::CaretX() const {
    CHARRANGE selection{};
    SendMessageW(edit_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    const LRESULT line = SendMessageW(edit_, EM_EXLINEFROMCHAR, 0, selection.cpMin);
    return static_cast<int>(selection.cpMin - SendMessageW(edit_, EM_LINEINDEX, line, 0));
}

void TScriptEditorAX::SetCaretX(int column) {
    const LRESULT lineStart = SendMessageW(edit_, EM_LINEINDEX, CaretY() - 1, 0);
    const LRESULT lineLength = SendMessageW(edit_, EM_LINELENGTH, lineStart, 0);
    const LONG caret = static_cast<LONG>(lineStart + std::clamp<LRESULT>(column, 0, lineLength));
    CHARRANGE range{caret, caret};
    SendMessageW(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

void TScriptEditorAX::GotoLine(int line) {
    const int lines = static_cast<int>(SendMessageW(edit_, EM_GETLINECOUNT, 0, 0));
    const LONG caret =
        static_cast<LONG>(SendMessageW(edit_, EM_LINEINDEX, std::clamp(line, 1, lines) - 1, 0));
    CHARRANGE range{caret, caret};
    SendMessageW(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

bool TScriptEditorAX::LoadWordList(std::wstring_view fileName) {
    const std::optional<WordList> list = ReadWordList(BesideLibrary(fileName));
    if (!list)
        return false;
    auto& words = list->kind == TokenKind::Function ? words_.functions : words_.keywords;
    for (const std::wstring& word : list->words)
        words.insert(LowerCasedWord(word));
    Recolour();
    return true;
}

bool TScriptEditorAX::LoadObjectSpec(std::wstring_view path) {
    const std::optional<std::vector<std::wstring>> members =
        ReadObjectSpecMembers(std::wstring(path));
    if (!members)
        return false;
    for (const std::wstring& member : *members)
        words_.members.insert(LowerCasedWord(member));
    Recolour();
    return true;
}

bool TScriptEditorAX::AddGlobalObject(std::wstring_view name, std::wstring_view description,
                                      int kind, std::wstring_view typeName, int flags) {
    if (name.empty())
        return false;
    words_.objects.insert(LowerCasedWord(name));
    Recolour();
    return true;
}

LRESULT CALLBACK TScriptEditorAX::FrameProcedure(HWND window, UINT message, WPARAM wparam,
                                                 LPARAM lparam) {
    auto* control = WindowObject<TScriptEditorAX>(window, message, lparam);
    switch (message) {
    case WM_SIZE:
        if (control && control->edit_)
            MoveWindow(control->edit_, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
        return 0;
    case WM_CLOSE: // a rich edit in a dialog asks its parent to close on Escape: not this one
        return 0;
    case WM_SETFOCUS:
        if (control && control->edit_)
            SetFocus(control->edit_);
        return 0;
    case WM_COMMAND:
        if (control && reinterpret_cast<HWND>(lparam) == control->edit_ &&
            HIWORD(wparam) == EN_CHANGE)
            RunWindowHandler([&] { control->TextChanged(); });
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (control && header->hwndFrom == control->edit_ && header->code == EN_SELCHANGE)
            control->SelectionChanged(reinterpret_cast<const SELCHANGE*>(lparam)->chrg);
        return 0;
    }
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

} // namespace kv::execution
