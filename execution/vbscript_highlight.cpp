#include "execution/vbscript_highlight.h"

#include <array>

namespace kv::execution {

namespace {

bool IsLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

bool IsWordCharacter(wchar_t c) {
    return IsLetter(c) || IsDigit(c) || c == L'_';
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// One pass over a line; `statementStart` tells whether a Rem here would start a comment.
class LineScanner {
public:
    LineScanner(std::wstring_view line, const Vocabulary& words) : line_(line), words_(words) {}

    std::vector<Token> Scan() {
        while (pos_ < line_.size()) {
            const wchar_t c = line_[pos_];
            if (IsBlank(c)) {
                ++pos_;
            } else if (c == L'\'') {
                Add(pos_, line_.size(), TokenKind::Comment);
            } else if (c == L'"') {
                ScanString();
            } else if (IsDigit(c) || (c == L'&' && pos_ + 1 < line_.size() &&
                                      (line_[pos_ + 1] == L'H' || line_[pos_ + 1] == L'h' ||
                                       line_[pos_ + 1] == L'O' || line_[pos_ + 1] == L'o'))) {
                ScanNumber();
            } else if (IsLetter(c)) {
                ScanWord();
            } else {
                statementStart_ = c == L':';
                afterDot_ = c == L'.';
                ++pos_;
            }
        }
        return std::move(tokens_);
    }

private:
    void Add(std::size_t start, std::size_t end, TokenKind kind) {
        tokens_.push_back({start, end - start, kind});
        pos_ = end;
    }

    void ScanString() {
        std::size_t end = pos_ + 1;
        while (end < line_.size()) {
            if (line_[end] == L'"') {
                if (end + 1 < line_.size() && line_[end + 1] == L'"') {
                    end += 2; // a doubled quote stays inside the string
                    continue;
                }
                ++end;
                break;
            }
            ++end;
        }
        statementStart_ = afterDot_ = false;
        Add(pos_, end, TokenKind::String);
    }

    void ScanNumber() {
        std::size_t end = pos_ + (line_[pos_] == L'&' ? 2 : 1);
        while (end < line_.size() && (IsWordCharacter(line_[end]) || line_[end] == L'.'))
            ++end;
        statementStart_ = afterDot_ = false;
        Add(pos_, end, TokenKind::Number);
    }

    void ScanWord() {
        std::size_t end = pos_;
        while (end < line_.size() && IsWordCharacter(line_[end]))
            ++end;
        const std::wstring word = LowerCasedWord(line_.substr(pos_, end - pos_));
        const bool afterDot = afterDot_;
        const bool statementStart = statementStart_;
        statementStart_ = afterDot_ = false;
        if (statementStart && word == L"rem" && (end == line_.size() || IsBlank(line_[end]))) {
            Add(pos_, line_.size(), TokenKind::Comment);
            return;
        }
        TokenKind kind = TokenKind::Plain;
        if (afterDot)
            kind = words_.members.contains(word) ? TokenKind::Member : TokenKind::Plain;
        else if (words_.keywords.contains(word))
            kind = TokenKind::Keyword;
        else if (words_.functions.contains(word))
            kind = TokenKind::Function;
        else if (words_.objects.contains(word))
            kind = TokenKind::Object;
        if (kind == TokenKind::Plain)
            pos_ = end;
        else
            Add(pos_, end, kind);
        // "Then" and "Else" may be followed by a statement on the same line.
        statementStart_ = word == L"then" || word == L"else";
    }

    std::wstring_view line_;
    const Vocabulary& words_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    bool statementStart_ = true;
    bool afterDot_ = false;
};

// Plain text has an explicit colour too: the reader's default is its automatic colour, which a
// recoloured line would not match.
constexpr std::array<TokenKind, 8> kColouredKinds = {
    TokenKind::Plain,  TokenKind::Keyword, TokenKind::Function, TokenKind::Object,
    TokenKind::Member, TokenKind::String,  TokenKind::Comment,  TokenKind::Number};

// The index of the kind's colour in the stream's colour table (0 is the reader's automatic one).
std::string ColourWord(TokenKind kind) {
    for (std::size_t i = 0; i < kColouredKinds.size(); ++i)
        if (kColouredKinds[i] == kind)
            return "\\cf" + std::to_string(i + 1) + " ";
    return "\\cf0 ";
}

void AppendColourTable(std::string& rtf) {
    rtf += "{\\colortbl ;";
    for (TokenKind kind : kColouredKinds) {
        const unsigned long colour = TokenColour(kind);
        rtf += "\\red" + std::to_string(colour & 0xFF) + "\\green" +
               std::to_string((colour >> 8) & 0xFF) + "\\blue" +
               std::to_string((colour >> 16) & 0xFF) + ";";
    }
    rtf += "}";
}

void AppendEscaped(std::string& rtf, std::wstring_view text) {
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'{' || c == L'}') {
            rtf += '\\';
            rtf += static_cast<char>(c);
        } else if (c == L'\t') {
            rtf += "\\tab ";
        } else if (c >= 0x20 && c < 0x7F) {
            rtf += static_cast<char>(c);
        } else {
            // A signed 16-bit code, then "?" for readers that cannot show it.
            rtf += "\\u" + std::to_string(static_cast<short>(c)) + "?";
        }
    }
}

void AppendLine(std::string& rtf, std::wstring_view line, const Vocabulary& words) {
    std::size_t pos = 0;
    for (const Token& token : HighlightLine(line, words)) {
        AppendEscaped(rtf, line.substr(pos, token.start - pos));
        rtf += ColourWord(token.kind);
        AppendEscaped(rtf, line.substr(token.start, token.length));
        rtf += ColourWord(TokenKind::Plain);
        pos = token.start + token.length;
    }
    AppendEscaped(rtf, line.substr(pos));
}

} // namespace

std::wstring LowerCasedWord(std::wstring_view word) {
    std::wstring lower(word);
    for (wchar_t& c : lower)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return lower;
}

std::vector<Token> HighlightLine(std::wstring_view line, const Vocabulary& words) {
    return LineScanner(line, words).Scan();
}

unsigned long TokenColour(TokenKind kind) {
    switch (kind) {
    case TokenKind::Keyword:
        return 0xC00000; // blue
    case TokenKind::Function:
        return 0x808000; // teal
    case TokenKind::Object:
        return 0x800080; // purple
    case TokenKind::Member:
        return 0x800000; // navy
    case TokenKind::String:
        return 0x000080; // maroon
    case TokenKind::Comment:
        return 0x008000; // green
    case TokenKind::Number:
        return 0x0060A0; // brown
    case TokenKind::Plain:
        break;
    }
    return 0x000000;
}

std::string HighlightedRtf(std::wstring_view text, const Vocabulary& words) {
    std::string rtf = "{\\rtf1\\ansi\\uc1";
    AppendColourTable(rtf);
    rtf += "\n" + ColourWord(TokenKind::Plain);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring_view::npos)
            end = text.size();
        AppendLine(rtf, text.substr(start, end - start), words);
        if (end == text.size()) {
            // The reader takes the last paragraph end for the document's own: a text that ends
            // with a line break needs one more to keep it.
            if (!text.empty() && (text.back() == L'\r' || text.back() == L'\n'))
                rtf += "\\par\n";
            break;
        }
        rtf += "\\par\n";
        start =
            end + (text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n' ? 2 : 1);
    }
    rtf += "}";
    return rtf;
}

} // namespace kv::execution
