// The small value types of a structure: identifiers (GUIDs), property values (a tagged copy of
// the automation VARIANT kinds a property may hold) and name-keyed hashing.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zk {

// A GUID as its 16 bytes lie in memory on Windows (first three fields little-endian). The same
// bytes are the object's 16-byte security key.
struct Guid {
    std::array<std::uint8_t, 16> bytes{};

    bool IsNull() const;
    auto operator<=>(const Guid&) const = default;
};

struct GuidHash {
    std::size_t operator()(const Guid& guid) const noexcept;
};

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hexadecimal (the registry form).
std::string GuidText(const Guid& guid);
// Accepts the registry form in either case; nothing for anything else.
std::optional<Guid> GuidFromText(std::string_view text);
// A fresh random (version 4) identifier.
Guid NewGuid();

// The kinds of a property value; the numbers are the automation VARTYPE of each kind.
enum class ValueType : std::uint16_t {
    Empty = 0,
    Null = 1,
    I2 = 2,
    I4 = 3,
    R4 = 4,
    R8 = 5,
    Currency = 6, // a 64-bit integer: the amount times 10000
    Date = 7,     // days since 30 December 1899, as a double
    String = 8,
    Bool = 11,
    I1 = 16,
    UI1 = 17,
    UI2 = 18,
    UI4 = 19,
    I8 = 20,
    UI8 = 21,
    Int = 22,
    UInt = 23,
};

// A property value with its kind. Only the member that the kind names is used.
struct Value {
    ValueType type = ValueType::Empty;
    std::int64_t integer = 0;           // I1, I2, I4, I8, Int, Currency, Bool (0 or 1)
    std::uint64_t unsigned_integer = 0; // UI1, UI2, UI4, UI8, UInt
    double real = 0;                    // R4, R8, Date
    std::string text;                   // String (UTF-8)

    static Value Text(std::string text);
    static Value Integer(ValueType type, std::int64_t value);
    static Value Unsigned(ValueType type, std::uint64_t value);
    static Value Real(ValueType type, double value);
    static Value Boolean(bool value);

    // Exact equality: same kind and same bits (so NaN equals the same NaN).
    bool operator==(const Value& other) const;
};

// Names of the kinds as the structure file writes them ("I4", "String", ...).
std::string_view ValueTypeName(ValueType type);
std::optional<ValueType> ValueTypeFromName(std::string_view name);
bool IsSignedIntegerType(ValueType type);
bool IsUnsignedIntegerType(ValueType type);
bool IsRealType(ValueType type);
// The range a signed or unsigned integer kind admits.
bool FitsType(ValueType type, std::int64_t value);
bool FitsType(ValueType type, std::uint64_t value);

// Hashing for maps keyed by std::string that are searched with a std::string_view.
struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
        return std::hash<std::string_view>{}(text);
    }
};
template <class T> using NameMap = std::unordered_map<std::string, T, StringHash, std::equal_to<>>;

} // namespace zk
