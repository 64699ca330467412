// What the scenario editor's control does with its rich-edit window: the text as the control
// counts it, a rich-text stream read in, the fixed-pitch character format and colours, and
// recolouring that leaves no trace.
#pragma once

#include <windows.h>
#include <richedit.h>
#include <tom.h>

#include <wrl/client.h>

#include <string>

namespace kv::execution {

// The text with a CR at each paragraph end: its positions are the control's.
std::wstring RichEditText(HWND edit);
// Replaces the whole text by a rich-text stream.
void StreamInRtf(HWND edit, const std::string& rtf);

// The control's character format: the fixed-pitch face, plain, in the colour given (0x00BBGGRR).
CHARFORMAT2W TextFormat(unsigned long colour);
void SetFormat(HWND edit, WPARAM scope, CHARFORMAT2W format);
// Selects the range and gives it the colour.
void SetColour(HWND edit, LONG start, LONG end, unsigned long colour);

// Keeps the selection and the scrolled place of the control while it is recoloured, without
// drawing, notifying or recording colours in the undo history in between.
class QuietRecolouring {
public:
    explicit QuietRecolouring(HWND edit);
    QuietRecolouring(const QuietRecolouring&) = delete;
    QuietRecolouring& operator=(const QuietRecolouring&) = delete;
    ~QuietRecolouring();

private:
    HWND edit_;
    Microsoft::WRL::ComPtr<ITextDocument> document_;
    CHARRANGE selection_{};
    POINT scrolled_{};
    LRESULT events_ = 0;
};

} // namespace kv::execution
