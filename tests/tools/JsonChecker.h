#pragma once

#include <cctype>
#include <string>

// Just enough of JSON to tell a valid document from an invalid one.
class JsonChecker {
public:
    explicit JsonChecker(const std::string& text) : text_(text) {}
    bool valid() {
        skip();
        if (!value()) {
            return false;
        }
        skip();
        return at_ == text_.size();
    }

private:
    void skip() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) {
            ++at_;
        }
    }
    bool literal(const char* word) {
        const std::string w = word;
        if (text_.compare(at_, w.size(), w) != 0) {
            return false;
        }
        at_ += w.size();
        return true;
    }
    bool string() {
        if (text_[at_] != '"') {
            return false;
        }
        for (++at_; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            }
            if (c == '\\') {
                ++at_;
                if (at_ >= text_.size() || std::string("\"\\/bfnrtu").find(text_[at_]) == std::string::npos) {
                    return false;
                }
            }
        }
        return false;
    }
    bool number() {
        const std::size_t start = at_;
        if (text_[at_] == '-') {
            ++at_;
        }
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) {
            ++at_;
        }
        return at_ > start && std::isdigit(static_cast<unsigned char>(text_[at_ - 1]));
    }
    template <typename Member>
    bool sequence(char close, Member member) {
        ++at_;
        skip();
        if (at_ < text_.size() && text_[at_] == close) {
            ++at_;
            return true;
        }
        while (true) {
            skip();
            if (!member()) {
                return false;
            }
            skip();
            if (at_ >= text_.size()) {
                return false;
            }
            if (text_[at_] == close) {
                ++at_;
                return true;
            }
            if (text_[at_++] != ',') {
                return false;
            }
        }
    }
    bool value() {
        if (at_ >= text_.size()) {
            return false;
        }
        switch (text_[at_]) {
        case '{':
            return sequence('}', [this] {
                if (!string()) {
                    return false;
                }
                skip();
                if (at_ >= text_.size() || text_[at_++] != ':') {
                    return false;
                }
                skip();
                return value();
            });
        case '[':
            return sequence(']', [this] { return value(); });
        case '"':
            return string();
        case 't':
            return literal("true");
        case 'f':
            return literal("false");
        case 'n':
            return literal("null");
        default:
            return number();
        }
    }

    const std::string& text_;
    std::size_t at_ = 0;
};
