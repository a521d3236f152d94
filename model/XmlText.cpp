#include "model/XmlText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

bool isAscii(std::string_view text) {
    // Eight bytes at a time: a whole file is tested before it is taken over.
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & kHighBits) != 0) {
            return false;
        }
    }
    for (; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool isAscii(std::u16string_view text) {
    // Without a branch per unit: the pieces of a save are short and many.
    char16_t seen = 0;
    for (char16_t c : text) {
        seen |= c;
    }
    return seen < 0x80;
}

void XmlText::clear() {
    ascii_.clear();
    utf16_.clear();
    wide_ = false;
}

void XmlText::assign(std::u16string_view text) {
    clear();
    if (!isAscii(text)) {
        wide_ = true;
        utf16_.assign(text);
        return;
    }
    ascii_.resize(text.size());
    std::transform(text.begin(), text.end(), ascii_.begin(), [](char16_t c) { return static_cast<char>(c); });
}

void XmlText::assignAscii(std::string&& ascii) {
    clear();
    ascii_ = std::move(ascii);
}

void XmlText::assignUtf16(std::u16string&& text) {
    clear();
    wide_ = true;
    utf16_ = std::move(text);
}

void XmlText::reserve(std::size_t units) {
    if (wide_) {
        utf16_.reserve(units);
    } else {
        ascii_.reserve(units);
    }
}

void XmlText::widen() {
    utf16_.reserve(std::max(ascii_.capacity(), ascii_.size()));
    utf16_.assign(ascii_.begin(), ascii_.end());
    // The narrow copy goes at once: the wide one is the text from now on.
    std::string().swap(ascii_);
    wide_ = true;
}

void XmlText::replace(std::size_t at, std::size_t count, std::initializer_list<std::u16string_view> pieces) {
    std::size_t length = 0;
    for (std::u16string_view piece : pieces) {
        length += piece.size();
    }
    // Room is made once, then filled: no joined copy of the pieces.
    if (!wide_) {
        ascii_.replace(at, count, length, '\0');
        // Narrowed on the way in, as they nearly always are ASCII; the units
        // seen tell afterwards whether they were.
        char16_t seen = 0;
        auto out = ascii_.begin() + static_cast<std::ptrdiff_t>(at);
        for (std::u16string_view piece : pieces) {
            for (char16_t c : piece) {
                seen |= c;
                *out++ = static_cast<char>(c);
            }
        }
        if (seen < 0x80) {
            return;
        }
        // The room has the right length in either form: widened, it is
        // filled again with the units as they are.
        widen();
    } else {
        utf16_.replace(at, count, length, u'\0');
    }
    auto out = utf16_.begin() + static_cast<std::ptrdiff_t>(at);
    for (std::u16string_view piece : pieces) {
        out = std::copy(piece.begin(), piece.end(), out);
    }
}

std::u16string XmlText::toUtf16() const {
    return wide_ ? utf16_ : std::u16string(ascii_.begin(), ascii_.end());
}
