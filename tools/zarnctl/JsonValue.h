#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct JsonMember;

// A JSON document as zarnctl reads it back (the output of show --json after
// a person or jq has edited it).
struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    // A number without fraction or exponent that fits; other numbers are
    // not used by zarnctl and keep only their text.
    std::optional<long long> integer;
    std::string text; // a string's value, or a number as written
    std::vector<JsonValue> items;
    std::vector<JsonMember> members; // in document order

    // The member of an object by name (the last of that name), or null.
    const JsonValue* member(std::string_view name) const;
};

struct JsonMember {
    std::string name;
    JsonValue value;
};

struct JsonParse {
    std::optional<JsonValue> value;
    std::string error; // "line L, column C: what is wrong"
};

// Strict RFC 8259 JSON; nesting deeper than a sane document is refused.
JsonParse ParseJson(std::string_view text);
