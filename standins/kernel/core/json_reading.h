// Checked access to a parsed JSON document: every failure names the place as a JSON pointer.
#pragma once

#include "core/kernel_error.h"
#include "core/value.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace zk::json_reading {

// Ordered objects keep the order of the file's keys when a file is rewritten.
using Json = nlohmann::ordered_json;

// A value of the document with its JSON pointer.
class Node {
public:
    Node(const Json& value, std::string pointer) : value_(value), pointer_(std::move(pointer)) {}

    const Json& json() const { return value_; }
    const std::string& pointer() const { return pointer_; }
    [[noreturn]] void Fail(const std::string& problem) const;

    // An object whose keys are all among the given ones.
    void ExpectObject(std::initializer_list<std::string_view> keys) const;
    bool Has(std::string_view key) const;
    Node operator[](std::string_view key) const; // the key must be present
    // Elements of an array.
    std::size_t ArraySize() const;
    Node operator[](std::size_t index) const;

    std::string String() const;
    bool Boolean() const;
    std::int32_t Int32() const;
    Guid GuidValue() const;

    // Members that may be left out, with their defaults.
    std::string String(std::string_view key, std::string fallback) const;
    bool Boolean(std::string_view key, bool fallback) const;
    std::int32_t Int32(std::string_view key, std::int32_t fallback) const;

private:
    const Json& value_;
    std::string pointer_;
};

// A value as a message shows it: a number, boolean, null or text as written, an object or an
// array by its kind only (a deeply nested one could not be written out without exhausting the
// stack).
std::string Shown(const Json& value);

// The text parsed; text that is not JSON fails with its line and column.
Json Parse(std::string_view text);

} // namespace zk::json_reading
