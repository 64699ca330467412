#include "difference_report.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace kvhost {
namespace {

std::string Quoted(const std::wstring& name, NarrowText narrow) {
    return "\"" + narrow(name) + "\"";
}

void AppendCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string Utf8(std::wstring_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = static_cast<char32_t>(text[i]) & 0xFFFF;
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const char32_t next = i + 1 < text.size() ? static_cast<char32_t>(text[i + 1]) & 0xFFFF : 0;
        if (high && next >= 0xDC00 && next <= 0xDFFF) {
            AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendCodePoint(out, 0xFFFD);
        } else {
            AppendCodePoint(out, unit);
        }
    }
    return out;
}

std::string RemovalsText(const Removals& removals, NarrowText narrow) {
    std::string text;
    for (const std::wstring& name : removals.classes)
        text += "  class " + Quoted(name, narrow) + "\n";
    for (const ChildLink& link : removals.childLinks)
        text += "  child link " + Quoted(link.parent, narrow) + " -> " +
                Quoted(link.child, narrow) + "\n";
    for (const ClassAttribute& attribute : removals.attributes)
        text += "  attribute " + Quoted(attribute.attribute, narrow) + " of class " +
                Quoted(attribute.className, narrow) + "\n";
    for (const std::wstring& name : removals.filters)
        text += "  filter " + Quoted(name, narrow) + "\n";
    for (const FilterConstraint& constraint : removals.constraints)
        text += "  constraint " + Quoted(constraint.className, narrow) + " of filter " +
                Quoted(constraint.filter, narrow) + "\n";
    return text;
}

std::string SummaryText(const DifferenceSummary& summary, NarrowText narrow) {
    std::string text;
    char line[128];
    for (int number = 1; number <= kStructureSections; ++number) {
        std::snprintf(line, sizeof line, "section %2d  %-38s %6d\n", number,
                      std::string(SectionName(number)).c_str(),
                      summary.statements[static_cast<std::size_t>(number - 1)]);
        text += line;
    }
    std::snprintf(line, sizeof line,
                  "statements in sections 1-10: %d (section 11, the rights, is not compared)\n",
                  summary.StatementCount());
    text += line;
    if (summary.removals.empty())
        return text + "removals: none\n";
    return text + "removals:\n" + RemovalsText(summary.removals, narrow);
}

std::string SummaryJson(const DifferenceSummary& summary) {
    using json = nlohmann::ordered_json;
    json sections = json::array();
    for (int number = 1; number <= kStructureSections; ++number)
        sections.push_back(
            {{"section", number},
             {"name", std::string(SectionName(number))},
             {"statements", summary.statements[static_cast<std::size_t>(number - 1)]}});
    const Removals& removals = summary.removals;
    json classes = json::array(), links = json::array(), attributes = json::array(),
         filters = json::array(), constraints = json::array();
    for (const std::wstring& name : removals.classes)
        classes.push_back(Utf8(name));
    for (const ChildLink& link : removals.childLinks)
        links.push_back({{"parent", Utf8(link.parent)}, {"child", Utf8(link.child)}});
    for (const ClassAttribute& attribute : removals.attributes)
        attributes.push_back(
            {{"class", Utf8(attribute.className)}, {"attribute", Utf8(attribute.attribute)}});
    for (const std::wstring& name : removals.filters)
        filters.push_back(Utf8(name));
    for (const FilterConstraint& constraint : removals.constraints)
        constraints.push_back(
            {{"filter", Utf8(constraint.filter)}, {"class", Utf8(constraint.className)}});
    const json document = {
        {"sections", sections},
        {"statements", summary.StatementCount()},
        {"drift", summary.Drifts()},
        {"removals",
         {{"classes", classes},
          {"childLinks", links},
          {"attributes", attributes},
          {"filters", filters},
          {"constraints", constraints}}},
    };
    return document.dump(2) + "\n";
}

} // namespace kvhost
