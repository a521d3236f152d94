#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

// The text of an XML document, as a sequence of UTF-16 units.  While every
// unit is ASCII, as in every profile the program writes, it is held one byte
// per unit: half the memory, and the bytes of a UTF-8 file are the text just
// as they stand, on reading and on writing.  The first other character widens
// it to UTF-16 for good.  Offsets count units either way.
class XmlText {
public:
    bool isWide() const { return wide_; }
    std::size_t size() const { return wide_ ? utf16_.size() : ascii_.size(); }
    bool empty() const { return size() == 0; }
    char16_t operator[](std::size_t i) const {
        return wide_ ? utf16_[i] : static_cast<char16_t>(static_cast<unsigned char>(ascii_[i]));
    }

    // Calls `f` with the whole text: a std::string_view of ASCII bytes while
    // it is narrow, a std::u16string_view once it is wide.
    template <class F>
    decltype(auto) visit(F&& f) const {
        return wide_ ? f(std::u16string_view(utf16_)) : f(std::string_view(ascii_));
    }

    void clear();
    void assign(std::u16string_view text);
    // Takes the bytes over without copying them; every one must be ASCII.
    void assignAscii(std::string&& ascii);
    void assignUtf16(std::u16string&& text);
    void reserve(std::size_t units);
    void insert(std::size_t at, std::u16string_view piece) { replace(at, 0, {piece}); }
    void replace(std::size_t at, std::size_t count, std::u16string_view piece) {
        replace(at, count, {piece});
    }
    // Replaces `count` units at `at` with the pieces one after the other, in one splice.
    void replace(std::size_t at, std::size_t count, std::initializer_list<std::u16string_view> pieces);
    std::u16string toUtf16() const;

private:
    void widen();

    std::string ascii_;
    std::u16string utf16_;
    bool wide_ = false;
};

bool isAscii(std::string_view text);
bool isAscii(std::u16string_view text);
