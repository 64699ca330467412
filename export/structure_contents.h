// What the structure page shows, read from the model kernel in one pass: texts already in the
// ANSI code page, unescaped. Pure: no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kv::html {

struct PropertyEntry {
    std::string name;
    std::string value; // the value as text ("" for an empty or null value)
};

struct AttributeEntry {
    std::string name;
    std::int32_t kind = 0; // zrType
    std::string data_type; // zrDataType in registry form
    std::string screen_name;
    std::vector<PropertyEntry> properties;
};

struct ClassEntry {
    std::string name;
    std::string screen_name;
    std::vector<AttributeEntry> attributes;
    // Names of the child classes by position, absent children left out.
    std::vector<std::string> children;
};

struct FilterEntry {
    std::string name;
    std::string caption;
    std::vector<std::string> constraints; // class names, by position
};

struct StructureContents {
    std::string model_name;
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
