#include "difference_summary.h"

#include "comparison/difference_text.h"

#include <algorithm>
#include <optional>

namespace kvhost {
namespace {

constexpr std::array<std::string_view, kStructureSections + 1> kSectionNames = {
    "missing classes and their attributes",
    "class parameters",
    "removed classes",
    "child links",
    "removed child links",
    "new attributes of existing classes",
    "removed attributes",
    "attribute parameters",
    "new filters and constraints",
    "removed filters",
    "rights of the groups",
};

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string_view WithoutIndent(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view() : line.substr(first);
}

bool IsStatement(std::string_view line) {
    const std::string_view text = WithoutIndent(line);
    return !text.empty() && text.front() != '\'';
}

// Reads the statements of one section and gathers its removals.
class SectionReader {
public:
    SectionReader(WidenText widen, int lineNumber) : widen_(widen), lineNumber_(lineNumber) {}

    void Read(std::string_view line) {
        ++lineNumber_;
        const std::string_view text = WithoutIndent(line);
        if (std::optional<std::wstring> name =
                Argument(text, "set cls = mdl.zrGetClassVector.zrAdd(")) {
            currentClass_ = *name;
            createdClasses_.push_back(*name);
        } else if (std::optional<std::wstring> located =
                       Argument(text, "set cls = mdl.zrGetClassVector.zrLocate(")) {
            currentClass_ = *located;
        } else if (std::optional<std::wstring> removed =
                       Argument(text, "mdl.zrGetClassVector.zrRemove ")) {
            removedClasses_.push_back(*removed);
        } else if (std::optional<std::wstring> child = Argument(text, "cls.zrRemoveChildClass ")) {
            found_.childLinks.push_back({currentClass_, *child});
        } else if (std::optional<std::wstring> attribute =
                       Argument(text, "cls.zrRemoveClassValue ")) {
            found_.attributes.push_back({currentClass_, *attribute});
        } else if (std::optional<std::wstring> filter = Argument(text, "flt.zrRemoveFilter ")) {
            removedFilters_.push_back(*filter);
        } else if (std::optional<std::wstring> created = Argument(text, "flt.zrCreateFilterEx ")) {
            createdFilters_.push_back(*created);
        } else if (text.starts_with("flt.zrRemoveConstraint ")) {
            std::size_t at = sizeof "flt.zrRemoveConstraint " - 1;
            std::wstring filter = Expression(text, at);
            while (at < text.size() && text[at] == ' ')
                ++at;
            if (at >= text.size() || text[at] != ',')
                Unreadable();
            ++at;
            found_.constraints.push_back({filter, Expression(text, at)});
        }
    }

    // The section's removals: a class or filter created again after its removal in the same
    // section is only being re-created.
    void AddTo(Removals& removals) {
        for (const std::wstring& name : removedClasses_)
            if (!Contains(createdClasses_, name))
                removals.classes.push_back(name);
        for (const std::wstring& name : removedFilters_)
            if (!Contains(createdFilters_, name))
                removals.filters.push_back(name);
        Append(removals.childLinks, found_.childLinks);
        Append(removals.attributes, found_.attributes);
        Append(removals.constraints, found_.constraints);
    }

private:
    // The string expression after `call` (and the closing parenthesis a call with one in its
    // prefix has); nothing when the line is not that call.
    std::optional<std::wstring> Argument(std::string_view text, std::string_view call) {
        if (!text.starts_with(call))
            return std::nullopt;
        std::size_t at = call.size();
        std::wstring name = Expression(text, at);
        if (call.back() == '(' && (at >= text.size() || text[at] != ')'))
            Unreadable();
        return name;
    }

    std::wstring Expression(std::string_view text, std::size_t& at) {
        std::optional<std::wstring> value = ReadStringExpression(text, at, widen_);
        if (!value)
            Unreadable();
        return *value;
    }

    // A statement that changes the structure but whose names cannot be read must never be
    // passed over as harmless.
    [[noreturn]] void Unreadable() const {
        throw NotADifference("line " + std::to_string(lineNumber_) +
                             ": a statement whose names cannot be read");
    }

    static bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    }

    template <class Item> static void Append(std::vector<Item>& to, const std::vector<Item>& from) {
        to.insert(to.end(), from.begin(), from.end());
    }

    WidenText widen_;
    int lineNumber_;
    std::wstring currentClass_;
    std::vector<std::wstring> createdClasses_, removedClasses_;
    std::vector<std::wstring> createdFilters_, removedFilters_;
    Removals found_;
};

} // namespace

int DifferenceSummary::StatementCount() const {
    int count = 0;
    for (int n : statements)
        count += n;
    return count;
}

std::string_view SectionName(int number) {
    return kSectionNames.at(static_cast<std::size_t>(number - 1));
}

DifferenceSummary SummariseDifference(std::string_view scenario, WidenText widen) {
    const std::vector<std::string_view> lines = Lines(scenario);
    DifferenceSummary summary;
    std::size_t next = 0;
    for (int number = 1; number <= kStructureSections; ++number) {
        const auto section = static_cast<kv::DifferenceSection>(number - 1);
        const std::string_view begin = kv::SectionBeginLine(section);
        const std::string_view end = kv::SectionEndLine(section);
        const auto first = std::find(lines.begin() + next, lines.end(), begin);
        if (first == lines.end())
            throw NotADifference("section " + std::to_string(number) + " (" +
                                 std::string(SectionName(number)) + ") has no begin line");
        const auto last = std::find(first + 1, lines.end(), end);
        if (last == lines.end())
            throw NotADifference("section " + std::to_string(number) + " (" +
                                 std::string(SectionName(number)) + ") has no end line");
        SectionReader reader(widen, static_cast<int>(first - lines.begin()) + 1);
        for (auto line = first + 1; line != last; ++line) {
            if (number < kStructureSections &&
                *line == kv::SectionBeginLine(static_cast<kv::DifferenceSection>(number)))
                throw NotADifference("section " + std::to_string(number + 1) +
                                     " begins inside section " + std::to_string(number));
            reader.Read(*line);
            if (IsStatement(*line))
                ++summary.statements[static_cast<std::size_t>(number - 1)];
        }
        reader.AddTo(summary.removals);
        next = static_cast<std::size_t>(last - lines.begin()) + 1;
    }
    const std::string_view rights = kv::SectionBeginLine(kv::DifferenceSection::Rights);
    if (std::find(lines.begin() + next, lines.end(), rights) == lines.end())
        throw NotADifference("section 11 (" + std::string(SectionName(11)) + ") has no begin line");
    return summary;
}

} // namespace kvhost
