#include "execution/rich_edit_text.h"

#include <richole.h>

#include <algorithm>

namespace kv::execution {

namespace {

constexpr wchar_t kFontFace[] = L"Courier New";
constexpr LONG kFontTwips = 200; // 10 points

// {8CC497C0-A1DF-11CE-8098-00AA0047BE5D}
constexpr IID kTextDocumentInterface = {
    0x8CC497C0, 0xA1DF, 0x11CE, {0x80, 0x98, 0x00, 0xAA, 0x00, 0x47, 0xBE, 0x5D}};

// Gives a rich-text stream to the control piece by piece.
struct StreamSource {
    const std::string* text;
    std::size_t offset;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    const std::size_t count =
        std::min(static_cast<std::size_t>(size), source->text->size() - source->offset);
    std::copy_n(source->text->data() + source->offset, count, buffer);
    source->offset += count;
    *read = static_cast<LONG>(count);
    return 0;
}

// The control's text object model, through which its undo history is suspended.
Microsoft::WRL::ComPtr<ITextDocument> TextDocument(HWND edit) {
    Microsoft::WRL::ComPtr<IRichEditOle> ole;
    Microsoft::WRL::ComPtr<ITextDocument> document;
    if (SendMessageW(edit, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(ole.GetAddressOf())) &&
        ole)
        ole->QueryInterface(kTextDocumentInterface,
                            reinterpret_cast<void**>(document.GetAddressOf()));
    return document;
}

} // namespace

std::wstring RichEditText(HWND edit) {
    GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const auto count = static_cast<std::size_t>(
        SendMessageW(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
    std::wstring text(count + 1, L'\0');
    GETTEXTEX request{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr,
                      nullptr};
    text.resize(static_cast<std::size_t>(SendMessageW(edit, EM_GETTEXTEX,
                                                      reinterpret_cast<WPARAM>(&request),
                                                      reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

void StreamInRtf(HWND edit, const std::string& rtf) {
    StreamSource source{&rtf, 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadStream};
    SendMessageW(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

CHARFORMAT2W TextFormat(unsigned long colour) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC |
                    CFM_UNDERLINE | CFM_STRIKEOUT;
    format.yHeight = kFontTwips;
    format.bCharSet = DEFAULT_CHARSET;
    format.bPitchAndFamily = FIXED_PITCH | FF_MODERN;
    format.crTextColor = colour;
    lstrcpynW(format.szFaceName, kFontFace, LF_FACESIZE);
    return format;
}

void SetFormat(HWND edit, WPARAM scope, CHARFORMAT2W format) {
    SendMessageW(edit, EM_SETCHARFORMAT, scope, reinterpret_cast<LPARAM>(&format));
}

void SetColour(HWND edit, LONG start, LONG end, unsigned long colour) {
    CHARRANGE range{start, end};
    SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.crTextColor = colour;
    SetFormat(edit, SCF_SELECTION, format);
}

QuietRecolouring::QuietRecolouring(HWND edit) : edit_(edit), document_(TextDocument(edit)) {
    if (document_)
        document_->Undo(tomSuspend, nullptr);
    SendMessageW(edit_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection_));
    SendMessageW(edit_, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scrolled_));
    events_ = SendMessageW(edit_, EM_SETEVENTMASK, 0, 0);
    SendMessageW(edit_, WM_SETREDRAW, FALSE, 0);
}

QuietRecolouring::~QuietRecolouring() {
    SendMessageW(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection_));
    SendMessageW(edit_, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scrolled_));
    SendMessageW(edit_, WM_SETREDRAW, TRUE, 0);
    SendMessageW(edit_, EM_SETEVENTMASK, 0, events_);
    InvalidateRect(edit_, nullptr, FALSE);
    if (document_)
        document_->Undo(tomResume, nullptr);
}

} // namespace kv::execution
