// A metrics source with round numbers, so expected layouts can be written by hand: in the base
// font a blank is 4 pixels wide and any other character 10; in every font made for a tag a
// blank is 5 and any other character 12. The base cell is 16 pixels high.
#pragma once

#include "common/markup_text.h"

#include <set>
#include <string>
#include <vector>

namespace kv {

class FakeMarkupMetrics : public MarkupMetrics {
public:
    std::optional<MarkupFontId> MakeFont(const MarkupFontRequest& request) override {
        requests.push_back(request);
        if (unavailable_faces.count(request.face))
            return std::nullopt;
        return static_cast<MarkupFontId>(requests.size()); // 1, 2, ...
    }
    int CharacterWidth(MarkupFontId font, char character) override {
        if (font == BaseMarkupFont)
            return character == ' ' ? 4 : 10;
        return character == ' ' ? 5 : 12;
    }
    int CellHeight(MarkupFontId font) override {
        if (font == BaseMarkupFont)
            return base.cell_height;
        return requests.at(static_cast<std::size_t>(font - 1)).cell_height;
    }

    MarkupBaseFont base{"Vevevededed", 16, 2};
    std::vector<MarkupFontRequest> requests;
    std::set<std::string> unavailable_faces;
};

} // namespace kv
