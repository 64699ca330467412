// Structures the export tests show, described once in UTF-8: built into the kernel stand-in for
// the export, and turned into what the page builder reads for the tests of the pure core.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace export_test {

struct PropertySpec {
    std::string name;
    std::variant<std::string, int> value;
};

struct AttributeSpec {
    std::string name;
    int kind = 0;
    std::string data_type; // GUID in registry form
    std::string screen_name;
    std::vector<PropertySpec> properties;
};

struct ClassSpec {
    std::string name;
    std::string screen_name;
    std::vector<AttributeSpec> attributes;
};

struct LinkSpec {
    std::string parent;
    std::string child;
};

struct FilterSpec {
    std::string name;
    std::string caption;
    std::vector<std::string> constraints;
};

struct StructureSpec {
    std::string model_name;
    std::vector<ClassSpec> classes;
    std::vector<LinkSpec> links; // in the order they are made
    std::vector<FilterSpec> filters;
};

// Every piece of the page: a class with a screen name and one without attributes, attributes
// of every kind with known and unknown data types, with and without properties, children and
// parents (a class that is its own child among them), a filter without caption, one without
// constraints. Its page is golden_structure.txt.
StructureSpec GoldenStructure();

// No classes, no filters. Its page is golden_empty.txt.
StructureSpec EmptyStructure();

// Names, comments and values holding "<", "&", quotes, "=", spaces and markup.
StructureSpec SpecialCharacterStructure();

// Windows-1251 bytes of UTF-8 text made of ASCII and the Russian alphabet.
std::string Cp1251FromUtf8(const std::string& utf8);

} // namespace export_test
