// The difference lines of a structure comparison and the text forms they show values in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvgen {

// A text in double quotes, with CR and LF shown as \r and \n so a line stays one line.
std::string Shown(std::string_view text);
std::string Shown(std::int32_t number);
std::string Shown(bool flag);
// A rights entry: the mask, or "no entry".
std::string Shown(const std::optional<std::int32_t>& rights);
// Names as a list: ["a", "b"].
std::string Shown(const std::vector<std::string>& names);
// Items already shown, as a list: [a, b].
std::string Listed(const std::vector<std::string>& items);

// Every line break (CR LF, a lone CR, a lone LF) as CR LF, as a scenario writes code.
std::string CrLfCode(std::string_view code);

class ComparisonLines {
public:
    // "<where>: <what>: expected <expected>, got <actual>"
    void Differ(const std::string& where, std::string_view what, const std::string& expected,
                const std::string& actual);
    // Compares two shown values and adds a line when they differ.
    template <class T>
    void Compare(const std::string& where, std::string_view what, const T& expected,
                 const T& actual) {
        if (!(expected == actual))
            Differ(where, what, Shown(expected), Shown(actual));
    }
    // "<where>: <note>"
    void Note(const std::string& where, std::string_view note);
    // Items of the expected set that the actual one lacks, and the reverse, as notes.
    void CompareSets(const std::string& where, std::string_view item,
                     const std::vector<std::string>& expected,
                     const std::vector<std::string>& actual);

    std::vector<std::string> Take() { return std::move(lines_); }

private:
    std::vector<std::string> lines_;
};

} // namespace kvgen
