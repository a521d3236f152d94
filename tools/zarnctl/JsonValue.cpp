#include "tools/zarnctl/JsonValue.h"

#include <charconv>
#include <cstdint>

namespace {

// show --json nests four deep; this leaves room for any sane edit and keeps
// the recursion far from the stack's end.
constexpr int kDeepestNesting = 64;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonParse parse() {
        JsonParse result;
        JsonValue value;
        skipSpace();
        if (parseValue(value, 0)) {
            skipSpace();
            if (at_ == text_.size()) {
                result.value = std::move(value);
                return result;
            }
            error_ = "unexpected text after the document";
        }
        result.error = where() + error_;
        return result;
    }

private:
    std::string where() const {
        std::size_t line = 1;
        std::size_t column = 1;
        for (std::size_t i = 0; i < at_ && i < text_.size(); ++i) {
            if (text_[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
    }

    bool fail(const char* why) {
        error_ = why;
        return false;
    }

    void skipSpace() {
        while (at_ < text_.size() &&
               (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r')) {
            ++at_;
        }
    }

    bool literal(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) {
            return fail("not a JSON value");
        }
        at_ += word.size();
        return true;
    }

    bool parseValue(JsonValue& value, int depth) {
        if (at_ >= text_.size()) {
            return fail("the document ends too early");
        }
        switch (text_[at_]) {
        case '{':
            return parseObject(value, depth + 1);
        case '[':
            return parseArray(value, depth + 1);
        case '"':
            value.kind = JsonValue::Kind::String;
            return parseString(value.text);
        case 't':
            value.kind = JsonValue::Kind::Bool;
            value.boolean = true;
            return literal("true");
        case 'f':
            value.kind = JsonValue::Kind::Bool;
            return literal("false");
        case 'n':
            value.kind = JsonValue::Kind::Null;
            return literal("null");
        default:
            return parseNumber(value);
        }
    }

    bool parseObject(JsonValue& value, int depth) {
        if (depth > kDeepestNesting) {
            return fail("nested too deep");
        }
        value.kind = JsonValue::Kind::Object;
        ++at_;
        skipSpace();
        if (at_ < text_.size() && text_[at_] == '}') {
            ++at_;
            return true;
        }
        while (true) {
            skipSpace();
            std::string name;
            if (at_ >= text_.size() || text_[at_] != '"') {
                return fail("a member name in quotes was expected");
            }
            if (!parseString(name)) {
                return false;
            }
            skipSpace();
            if (at_ >= text_.size() || text_[at_] != ':') {
                return fail("':' was expected");
            }
            ++at_;
            skipSpace();
            JsonValue member;
            if (!parseValue(member, depth)) {
                return false;
            }
            value.members.push_back({std::move(name), std::move(member)});
            skipSpace();
            if (at_ < text_.size() && text_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < text_.size() && text_[at_] == '}') {
                ++at_;
                return true;
            }
            return fail("',' or '}' was expected");
        }
    }

    bool parseArray(JsonValue& value, int depth) {
        if (depth > kDeepestNesting) {
            return fail("nested too deep");
        }
        value.kind = JsonValue::Kind::Array;
        ++at_;
        skipSpace();
        if (at_ < text_.size() && text_[at_] == ']') {
            ++at_;
            return true;
        }
        while (true) {
            skipSpace();
            JsonValue item;
            if (!parseValue(item, depth)) {
                return false;
            }
            value.items.push_back(std::move(item));
            skipSpace();
            if (at_ < text_.size() && text_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < text_.size() && text_[at_] == ']') {
                ++at_;
                return true;
            }
            return fail("',' or ']' was expected");
        }
    }

    bool hexQuad(std::uint32_t& value) {
        if (text_.size() - at_ < 4) {
            return fail("a \\u escape needs four hex digits");
        }
        value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            value <<= 4;
            if (c >= '0' && c <= '9') {
                value |= static_cast<std::uint32_t>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                value |= static_cast<std::uint32_t>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                value |= static_cast<std::uint32_t>(c - 'A' + 10);
            } else {
                return fail("a \\u escape needs four hex digits");
            }
        }
        return true;
    }

    static void appendUtf8(std::string& out, std::uint32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }

    bool escape(std::string& out) {
        if (at_ >= text_.size()) {
            return fail("the document ends inside a string");
        }
        const char c = text_[at_++];
        switch (c) {
        case '"':
        case '\\':
        case '/':
            out += c;
            return true;
        case 'b':
            out += '\b';
            return true;
        case 'f':
            out += '\f';
            return true;
        case 'n':
            out += '\n';
            return true;
        case 'r':
            out += '\r';
            return true;
        case 't':
            out += '\t';
            return true;
        case 'u': {
            std::uint32_t unit = 0;
            if (!hexQuad(unit)) {
                return false;
            }
            // A lone surrogate has no character: it becomes U+FFFD.
            if (unit >= 0xD800 && unit <= 0xDBFF && text_.substr(at_, 2) == "\\u") {
                const std::size_t back = at_;
                at_ += 2;
                std::uint32_t low = 0;
                if (!hexQuad(low)) {
                    return false;
                }
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                    return true;
                }
                at_ = back;
            }
            appendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
            return true;
        }
        default:
            return fail("not a JSON escape");
        }
    }

    bool parseString(std::string& out) {
        ++at_;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return fail("a control character inside a string");
            }
            ++at_;
            if (c == '\\') {
                if (!escape(out)) {
                    return false;
                }
            } else {
                out += c;
            }
        }
        return fail("the document ends inside a string");
    }

    bool parseNumber(JsonValue& value) {
        const std::size_t start = at_;
        const auto digits = [&] {
            const std::size_t first = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
                ++at_;
            }
            return at_ > first;
        };
        if (at_ < text_.size() && text_[at_] == '-') {
            ++at_;
        }
        const std::size_t integerStart = at_;
        if (!digits()) {
            at_ = start;
            return fail("not a JSON value");
        }
        if (text_[integerStart] == '0' && at_ - integerStart > 1) {
            return fail("a number does not start with 0");
        }
        bool integral = true;
        if (at_ < text_.size() && text_[at_] == '.') {
            ++at_;
            integral = false;
            if (!digits()) {
                return fail("digits were expected after '.'");
            }
        }
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            integral = false;
            if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) {
                ++at_;
            }
            if (!digits()) {
                return fail("digits were expected in the exponent");
            }
        }
        value.kind = JsonValue::Kind::Number;
        value.text = std::string(text_.substr(start, at_ - start));
        if (integral) {
            long long number = 0;
            const auto [end, ec] =
                std::from_chars(value.text.data(), value.text.data() + value.text.size(), number);
            if (ec == std::errc{} && end == value.text.data() + value.text.size()) {
                value.integer = number;
            }
        }
        return true;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::string error_;
};

} // namespace

const JsonValue* JsonValue::member(std::string_view name) const {
    const JsonValue* found = nullptr;
    for (const auto& [key, value] : members) {
        if (key == name) {
            found = &value;
        }
    }
    return found;
}

JsonParse ParseJson(std::string_view text) {
    return Parser(text).parse();
}
