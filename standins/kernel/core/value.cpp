#include "core/value.h"

#include <bit>
#include <cstdio>
#include <limits>
#include <random>

namespace zk {

bool Guid::IsNull() const {
    for (auto byte : bytes)
        if (byte != 0)
            return false;
    return true;
}

std::size_t GuidHash::operator()(const Guid& guid) const noexcept {
    std::uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (auto byte : guid.bytes)
        hash = (hash ^ byte) * 1099511628211ull;
    return static_cast<std::size_t>(hash ^ (hash >> 32));
}

namespace {

// Positions of the bytes in text order: Data1, Data2 and Data3 are little-endian in memory.
constexpr int kTextOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool IsDashPosition(std::size_t i) {
    return i == 9 || i == 14 || i == 19 || i == 24;
}

} // namespace

std::string GuidText(const Guid& guid) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text = "{";
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text += '-';
        std::uint8_t byte = guid.bytes[kTextOrder[i]];
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    text += '}';
    return text;
}

std::optional<Guid> GuidFromText(std::string_view text) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}')
        return std::nullopt;
    Guid guid;
    int byte_index = 0;
    for (std::size_t i = 1; i < 37;) {
        if (IsDashPosition(i)) {
            if (text[i] != '-')
                return std::nullopt;
            ++i;
            continue;
        }
        int high = HexDigit(text[i]);
        int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0 || IsDashPosition(i + 1))
            return std::nullopt;
        guid.bytes[kTextOrder[byte_index++]] = static_cast<std::uint8_t>(high * 16 + low);
        i += 2;
    }
    return guid;
}

Guid NewGuid() {
    thread_local std::mt19937_64 generator{std::random_device{}()};
    Guid guid;
    for (int i = 0; i < 16; i += 8) {
        std::uint64_t bits = generator();
        for (int j = 0; j < 8; ++j)
            guid.bytes[i + j] = static_cast<std::uint8_t>(bits >> (8 * j));
    }
    guid.bytes[7] = static_cast<std::uint8_t>((guid.bytes[7] & 0x0F) | 0x40); // version 4
    guid.bytes[8] = static_cast<std::uint8_t>((guid.bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    return guid;
}

Value Value::Text(std::string text) {
    Value value;
    value.type = ValueType::String;
    value.text = std::move(text);
    return value;
}

Value Value::Integer(ValueType type, std::int64_t number) {
    Value value;
    value.type = type;
    value.integer = number;
    return value;
}

Value Value::Unsigned(ValueType type, std::uint64_t number) {
    Value value;
    value.type = type;
    value.unsigned_integer = number;
    return value;
}

Value Value::Real(ValueType type, double number) {
    Value value;
    value.type = type;
    value.real = number;
    return value;
}

Value Value::Boolean(bool flag) {
    return Integer(ValueType::Bool, flag ? 1 : 0);
}

bool Value::operator==(const Value& other) const {
    return type == other.type && integer == other.integer &&
           unsigned_integer == other.unsigned_integer &&
           std::bit_cast<std::uint64_t>(real) == std::bit_cast<std::uint64_t>(other.real) &&
           text == other.text;
}

namespace {

struct TypeName {
    ValueType type;
    std::string_view name;
};

constexpr TypeName kTypeNames[] = {
    {ValueType::Empty, "Empty"},
    {ValueType::Null, "Null"},
    {ValueType::I2, "I2"},
    {ValueType::I4, "I4"},
    {ValueType::R4, "R4"},
    {ValueType::R8, "R8"},
    {ValueType::Currency, "Currency"},
    {ValueType::Date, "Date"},
    {ValueType::String, "String"},
    {ValueType::Bool, "Bool"},
    {ValueType::I1, "I1"},
    {ValueType::UI1, "UI1"},
    {ValueType::UI2, "UI2"},
    {ValueType::UI4, "UI4"},
    {ValueType::I8, "I8"},
    {ValueType::UI8, "UI8"},
    {ValueType::Int, "Int"},
    {ValueType::UInt, "UInt"},
};

} // namespace

std::string_view ValueTypeName(ValueType type) {
    for (const auto& entry : kTypeNames)
        if (entry.type == type)
            return entry.name;
    return "?";
}

std::optional<ValueType> ValueTypeFromName(std::string_view name) {
    for (const auto& entry : kTypeNames)
        if (entry.name == name)
            return entry.type;
    return std::nullopt;
}

bool IsSignedIntegerType(ValueType type) {
    switch (type) {
    case ValueType::I1:
    case ValueType::I2:
    case ValueType::I4:
    case ValueType::I8:
    case ValueType::Int:
    case ValueType::Currency:
    case ValueType::Bool:
        return true;
    default:
        return false;
    }
}

bool IsUnsignedIntegerType(ValueType type) {
    switch (type) {
    case ValueType::UI1:
    case ValueType::UI2:
    case ValueType::UI4:
    case ValueType::UI8:
    case ValueType::UInt:
        return true;
    default:
        return false;
    }
}

bool IsRealType(ValueType type) {
    return type == ValueType::R4 || type == ValueType::R8 || type == ValueType::Date;
}

bool FitsType(ValueType type, std::int64_t value) {
    switch (type) {
    case ValueType::I1:
        return value >= -128 && value <= 127;
    case ValueType::I2:
        return value >= -32768 && value <= 32767;
    case ValueType::I4:
    case ValueType::Int:
        return value >= std::numeric_limits<std::int32_t>::min() &&
               value <= std::numeric_limits<std::int32_t>::max();
    case ValueType::Bool:
        return value == 0 || value == 1;
    case ValueType::I8:
    case ValueType::Currency:
        return true;
    default:
        return false;
    }
}

bool FitsType(ValueType type, std::uint64_t value) {
    switch (type) {
    case ValueType::UI1:
        return value <= 0xFF;
    case ValueType::UI2:
        return value <= 0xFFFF;
    case ValueType::UI4:
    case ValueType::UInt:
        return value <= 0xFFFFFFFFu;
    case ValueType::UI8:
        return true;
    default:
        return false;
    }
}

} // namespace zk
