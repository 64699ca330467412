// What the structure page shows, read from the model kernel in one pass: texts unescaped, as model
// texts (below). Pure: no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kv::html {

// A model text as the page shows it: the bytes, in the ANSI code page, of the characters that the
// code page has, and where each character that it lacks stands, by its code point, for a numeric
// character reference. Two model texts are equal exactly when the kernel's texts are.
struct ModelText {
    struct Reference {
        std::size_t at; // the position in `bytes` before which the character stands
        std::uint32_t code_point;
        bool operator==(const Reference&) const = default;
    };

    std::string bytes;
    std::vector<Reference> references; // ascending by position

    ModelText() = default;
    ModelText(std::string text) : bytes(std::move(text)) {}
    ModelText(const char* text) : bytes(text) {}

    bool empty() const { return bytes.empty() && references.empty(); }
    bool operator==(const ModelText&) const = default;
};

struct PropertyEntry {
    ModelText name;
    ModelText value; // the value as text ("" for an empty or null value)
};

struct AttributeEntry {
    ModelText name;
    std::int32_t kind = 0; // zrType
    std::string data_type; // zrDataType in registry form
    ModelText screen_name;
    std::vector<PropertyEntry> properties;
};

struct ClassEntry {
    ModelText name;
    ModelText screen_name;
    std::vector<AttributeEntry> attributes;
    // Names of the child classes by position, absent children left out.
    std::vector<ModelText> children;
};

struct FilterEntry {
    ModelText name;
    ModelText caption;
    std::vector<ModelText> constraints; // class names, by position
};

struct StructureContents {
    ModelText model_name;
    // The counts as the kernel reports them, for the heading.
    std::int32_t class_count = 0;
    std::int32_t filter_count = 0;
    std::vector<ClassEntry> classes;  // by position
    std::vector<FilterEntry> filters; // by position
};

// For each class, the positions of the classes that list it (by name) among their children,
// in position order, each once; a class that is its own child is among its own parents. One
// pass over the links instead of asking every class about every other.
std::vector<std::vector<std::size_t>> ParentPositions(const std::vector<ClassEntry>& classes);

} // namespace kv::html
