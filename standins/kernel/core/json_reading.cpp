#include "core/json_reading.h"

#include <algorithm>
#include <limits>

namespace zk::json_reading {

namespace {

const char* KindName(const Json& value) {
    switch (value.type()) {
    case Json::value_t::null:
        return "null";
    case Json::value_t::object:
        return "an object";
    case Json::value_t::array:
        return "an array";
    case Json::value_t::string:
        return "a string";
    case Json::value_t::boolean:
        return "a boolean";
    case Json::value_t::binary:
        return "binary data";
    case Json::value_t::discarded:
        return "nothing";
    default:
        return "a number";
    }
}

} // namespace

std::string Shown(const Json& value) {
    return value.is_structured() ? KindName(value) : value.dump();
}

void Node::Fail(const std::string& problem) const {
    zk::Fail(ErrorKind::BadFile, "structure file, at " +
                                     (pointer_.empty() ? std::string("/") : pointer_) + ": " +
                                     problem);
}

void Node::ExpectObject(std::initializer_list<std::string_view> keys) const {
    if (!value_.is_object())
        Fail(std::string("expected an object, found ") + KindName(value_));
    for (const auto& [key, member] : value_.items())
        if (std::find(keys.begin(), keys.end(), key) == keys.end())
            Node(member, pointer_ + "/" + key).Fail("unknown field \"" + key + "\"");
}

bool Node::Has(std::string_view key) const {
    return value_.is_object() && value_.contains(key);
}

Node Node::operator[](std::string_view key) const {
    std::string pointer = pointer_ + "/" + std::string(key);
    if (!Has(key))
        Node(value_, pointer).Fail("required field is missing");
    return Node(value_.at(std::string(key)), pointer);
}

std::size_t Node::ArraySize() const {
    if (!value_.is_array())
        Fail(std::string("expected an array, found ") + KindName(value_));
    return value_.size();
}

Node Node::operator[](std::size_t index) const {
    return Node(value_.at(index), pointer_ + "/" + std::to_string(index));
}

std::string Node::String() const {
    if (!value_.is_string())
        Fail(std::string("expected a string, found ") + KindName(value_));
    return value_.get<std::string>();
}

bool Node::Boolean() const {
    if (!value_.is_boolean())
        Fail(std::string("expected true or false, found ") + KindName(value_));
    return value_.get<bool>();
}

std::int32_t Node::Int32() const {
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    bool fits = value_.is_number_unsigned() ? value_.get<std::uint64_t>() <= kMax
                : value_.is_number_integer()
                    ? value_.get<std::int64_t>() >= kMin && value_.get<std::int64_t>() <= kMax
                    : false;
    if (!fits)
        Fail(value_.is_number() ? "expected a 32-bit integer, found " + value_.dump()
                                : std::string("expected an integer, found ") + KindName(value_));
    return static_cast<std::int32_t>(value_.get<std::int64_t>());
}

Guid Node::GuidValue() const {
    auto guid = GuidFromText(String());
    if (!guid)
        Fail("expected a GUID such as {00000000-0000-0000-0000-000000000000}, found \"" +
             value_.get<std::string>() + "\"");
    return *guid;
}

std::string Node::String(std::string_view key, std::string fallback) const {
    return Has(key) ? (*this)[key].String() : fallback;
}

bool Node::Boolean(std::string_view key, bool fallback) const {
    return Has(key) ? (*this)[key].Boolean() : fallback;
}

std::int32_t Node::Int32(std::string_view key, std::int32_t fallback) const {
    return Has(key) ? (*this)[key].Int32() : fallback;
}

namespace {

// Text that is not JSON: the message names the line and column of the byte at `offset`
// (counted from 1).
[[noreturn]] void FailAt(std::string_view text, std::size_t offset, const std::string& problem) {
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < std::min(offset, text.size()); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    zk::Fail(ErrorKind::BadFile, "structure file, at line " + std::to_string(line) + ", column " +
                                     std::to_string(column) + ": not valid JSON: " + problem);
}

// The library's own document builder, except that every error of the text fails as a BadFile
// naming the line and column where reading stopped: also a number too large for a double,
// which the library reports as another kind of exception, without a place.
class DocumentReader : public nlohmann::detail::json_sax_dom_parser<Json> {
public:
    // Reads the text up to its first NUL byte, which the library would take for the end.
    DocumentReader(Json& document, std::string_view text)
        : json_sax_dom_parser(document), text_(text), nul_(text.find('\0')) {}

    std::string_view Readable() const { return text_.substr(0, nul_); }
    // A NUL byte is never part of JSON: a text that holds one fails there.
    void RequireNoNul() const {
        if (nul_ != std::string_view::npos)
            FailAt(text_, nul_, "a NUL byte (binary data)");
    }

    template <class Exception>
    bool parse_error(std::size_t position, const std::string&, const Exception& error) {
        // Reading that stopped at the NUL byte fails for the NUL byte.
        const std::size_t stop = position ? position - 1 : 0;
        const std::string reason = Reason(error.what());
        if (stop >= nul_ || reason.find("unexpected end of input") != std::string::npos)
            RequireNoNul();
        FailAt(text_, stop, reason);
    }

private:
    // The library's text without its exception name and its own statement of the place.
    static std::string Reason(std::string text) {
        if (text.starts_with("[json.exception.") && text.find("] ") != std::string::npos)
            text.erase(0, text.find("] ") + 2);
        if (text.starts_with("parse error") && text.find(": ") != std::string::npos)
            text.erase(0, text.find(": ") + 2);
        return text;
    }

    std::string_view text_;
    std::size_t nul_;
};

} // namespace

Json Parse(std::string_view text) {
    Json document;
    DocumentReader reader(document, text);
    const std::string_view readable = reader.Readable();
    Json::sax_parse(readable.begin(), readable.end(), &reader);
    reader.RequireNoNul(); // what followed it would otherwise be ignored
    return document;
}

} // namespace zk::json_reading
