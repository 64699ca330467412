// Reading the markup tags: the text state, the fonts they ask for and the visible characters.
#include "common/markup_text.h"

#include "common/platform_arithmetic.h"
#include "text/text_case.h"

#include <array>

namespace kv {

namespace {

enum class Tag { Font, Bold, Upper, Lower, Space, Italic, NoItalic };

struct TagName {
    std::string_view name;
    Tag tag;
};
constexpr std::array<TagName, 7> tag_names = {{{"font", Tag::Font},
                                               {"bold", Tag::Bold},
                                               {"upper", Tag::Upper},
                                               {"lower", Tag::Lower},
                                               {"space", Tag::Space},
                                               {"italic", Tag::Italic},
                                               {"noitalic", Tag::NoItalic}}};

struct ParsedTag {
    Tag tag;
    bool opening;
    std::string face;     // of an opening font tag
    std::size_t next = 0; // where reading resumes
};

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

// The tag starting at `at` (a "<"), or nullopt when the "<" is an ordinary character.
std::optional<ParsedTag> ParseTag(std::string_view text, std::size_t at) {
    if (at + 1 >= text.size() || (text[at + 1] != '!' && text[at + 1] != '/'))
        return std::nullopt;
    const bool opening = text[at + 1] == '!';
    const std::size_t name_at = at + 2;
    for (const TagName& candidate : tag_names) {
        if (!StartsWithIgnoringCase(text.substr(name_at), candidate.name))
            continue;
        const std::size_t after_name = name_at + candidate.name.size();
        if (candidate.tag != Tag::Font) // the character after the name is taken as the ">"
            return ParsedTag{candidate.tag, opening, {}, after_name + 1};
        // The font tag runs to the first ">", or to the last character of the text, which the
        // face then leaves out.
        const std::size_t close = text.find('>', after_name);
        const std::size_t face_end = close != std::string_view::npos ? close
                                     : text.empty()                  ? 0
                                                                     : text.size() - 1;
        std::string face;
        if (opening && face_end > after_name)
            face = TrimBlanks(text.substr(after_name, face_end - after_name));
        const std::size_t next = close != std::string_view::npos ? close + 1 : text.size();
        return ParsedTag{Tag::Font, opening, std::move(face), next};
    }
    return std::nullopt;
}

class MarkupReader {
public:
    MarkupReader(const MarkupBaseFont& base, MarkupMetrics& metrics)
        : base_(base), base_face_(LowerCased(base.face)), metrics_(metrics), face_(base_face_) {}

    void Add(char character, bool non_breaking = false) {
        MarkupCharacter item;
        item.character = character;
        item.size = size_;
        item.non_breaking = non_breaking;
        if (character == '\r' || character == '\n') {
            item.font = NoMarkupFont;
        } else {
            item.font = font_;
            item.width = metrics_.CharacterWidth(font_, character);
        }
        characters_.push_back(item);
    }

    void Apply(const ParsedTag& tag) {
        switch (tag.tag) {
        case Tag::Font:
            face_ = tag.opening ? LowerCased(tag.face) : base_face_;
            break;
        case Tag::Bold:
            bold_ = tag.opening;
            break;
        case Tag::Upper:
            size_ = tag.opening ? MarkupSize::Raised : MarkupSize::Normal;
            break;
        case Tag::Lower:
            size_ = tag.opening ? MarkupSize::Lowered : MarkupSize::Normal;
            break;
        case Tag::Space:
            Add(' ', true);
            return;
        case Tag::Italic:
        case Tag::NoItalic:
            return;
        }
        font_ = FontForState();
    }

    std::vector<MarkupCharacter> Take() { return std::move(characters_); }

private:
    struct CachedFont {
        std::string face;
        bool bold;
        MarkupSize size;
        MarkupFontId font;
    };

    MarkupFontId FontForState() {
        if (EqualsIgnoringCase(face_, base_.face) && !bold_ && size_ == MarkupSize::Normal)
            return BaseMarkupFont;
        for (const CachedFont& cached : cache_)
            if (EqualsIgnoringCase(cached.face, face_) && cached.size == size_ &&
                cached.bold == bold_)
                return cached.font;
        MarkupFontRequest request;
        request.face = face_;
        request.bold = bold_;
        request.size = size_;
        request.cell_height = size_ == MarkupSize::Normal ? base_.cell_height
                                                          : RoundHalfEven(base_.cell_height * 0.75);
        const std::optional<MarkupFontId> made = metrics_.MakeFont(request);
        if (!made) { // the text goes on in the base face and font
            face_ = base_face_;
            return BaseMarkupFont;
        }
        cache_.push_back({face_, bold_, size_, *made});
        return *made;
    }

    const MarkupBaseFont& base_;
    const std::string base_face_;
    MarkupMetrics& metrics_;
    std::string face_;
    bool bold_ = false; // whatever the base font is
    MarkupSize size_ = MarkupSize::Normal;
    MarkupFontId font_ = BaseMarkupFont;
    std::vector<CachedFont> cache_;
    std::vector<MarkupCharacter> characters_;
};

} // namespace

std::vector<MarkupCharacter> ReadMarkup(std::string_view text, const MarkupBaseFont& base,
                                        bool keep_line_breaks, MarkupMetrics& metrics) {
    MarkupReader reader(base, metrics);
    std::size_t at = 0;
    while (at < text.size()) {
        const char character = text[at];
        if (character == '<') {
            if (std::optional<ParsedTag> tag = ParseTag(text, at)) {
                reader.Apply(*tag);
                at = tag->next;
                continue;
            }
        } else if ((character == '\r' || character == '\n') && !keep_line_breaks) {
            if (character == '\r')
                reader.Add(' ');
            ++at;
            continue;
        }
        reader.Add(character);
        ++at;
    }
    return reader.Take();
}

MarkupLayout LayOutMarkupText(std::string_view text, const MarkupBaseFont& base,
                              const MarkupOptions& options, MarkupBox box, MarkupMetrics& metrics) {
    return LayOutMarkup(ReadMarkup(text, base, options.keep_line_breaks, metrics), base, options,
                        box, metrics);
}

} // namespace kv
