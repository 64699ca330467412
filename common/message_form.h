// TMessageForm: the library's message dialog, built by ShowMessageDlg. Its geometry comes from
// dialog units of its font (message_form_layout.h), its text is drawn with markup
// (DrawMarkupText), and Ctrl+C copies its caption, text and buttons to the clipboard.
#pragma once

#include "common/message_buttons.h"
#include "common/message_form_layout.h"
#include "platform/gdi_owners.h"

#include <windows.h>

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

namespace kv {

// Control identifiers: the text, the icon ("Image"); buttons are MessageButtonFirstId + row.
constexpr int MessageTextId = 90;
constexpr int MessageIconId = 91;

class TMessageForm {
public:
    // `text` is the message in the process ANSI code page, markup included; `shown_text` is the
    // same text as the text control's window text (read by automation).
    TMessageForm(std::string text, std::wstring shown_text, TMessageKind kind,
                 TMessageButtons buttons);
    TMessageForm(const TMessageForm&) = delete;
    TMessageForm& operator=(const TMessageForm&) = delete;

    // Shows the form modally over `parent` (none when null) and returns the result code of the
    // button that closed it; 2 for the close box. An error building the form is raised here.
    std::uint16_t ShowModal(HWND parent);

private:
    static INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wparam,
                                            LPARAM lparam);
    static LRESULT CALLBACK KeyPreview(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                       UINT_PTR id, DWORD_PTR form);
    MessageFormLayout MeasureLayout() const;
    void Build(HWND dialog);
    void AddButtons(const std::vector<RECT>& bounds);
    void PaintText(const DRAWITEMSTRUCT& item);
    void KeyDown(WPARAM key);
    void CopyToClipboard();
    void Command(int id);

    HWND dialog_ = nullptr;
    const std::string text_; // exactly as passed, markup included
    const std::wstring shown_text_;
    const TMessageKind kind_;
    const TMessageButtons buttons_;
    RECT text_rect_{}; // client coordinates
    FontOwner form_font_;
    FontOwner button_font_;
    std::vector<HWND> push_buttons_; // in creation order
    std::exception_ptr build_error_; // an error building the form goes to ShowModal's caller
};

} // namespace kv
