#pragma once

#include "model/XmlResult.h"

#include <cstddef>
#include <string_view>

enum class XmlNodeKind {
    WhiteSpace,
    Text,
    StartTag,
    EmptyElementTag,
    EndTag,
    ProcessingInstruction,
    Comment,
    CDataSection,
    DocumentType,
    Error, // skipped up to the next ">" after a syntax error
};

struct XmlNode {
    XmlNodeKind kind = XmlNodeKind::Text;
    std::size_t start = 0;
    std::size_t length = 0;
};

// Inline: every character of a document passes through these.
inline bool isXmlWhiteSpace(char16_t c) {
    return c == u' ' || c == u'\n' || c == u'\r' || c == u'\t';
}

inline bool isXmlNameDelimiter(char16_t c) {
    if (c > u'\\') {
        return false;
    }
    switch (c) {
    case u'!':
    case u'"':
    case u'\'':
    case u'/':
    case u';':
    case u'<':
    case u'=':
    case u'>':
    case u'?':
    case u'\\':
        return true;
    default:
        return isXmlWhiteSpace(c);
    }
}

// A unit of a text as UTF-16: the narrow texts scanned here hold ASCII, and
// a byte is never taken for a negative character.
inline char16_t xmlUnit(char c) {
    return static_cast<char16_t>(static_cast<unsigned char>(c));
}
inline char16_t xmlUnit(char16_t c) {
    return c;
}

// The scanning below reads a document's text in either form it is held in
// (see XmlText): ASCII bytes or UTF-16 units.
template <class Char>
using XmlTextView = std::basic_string_view<Char>;

// End of the name that begins at `from`.
template <class Char>
std::size_t xmlNameEnd(XmlTextView<Char> text, std::size_t from) {
    while (from < text.size() && !isXmlNameDelimiter(xmlUnit(text[from]))) {
        ++from;
    }
    return from;
}
inline std::size_t xmlNameEnd(std::u16string_view text, std::size_t from) {
    return xmlNameEnd<char16_t>(text, from);
}
// Equality of names, exactly or without regard to the case of ASCII letters;
// the two may be held in different forms.
template <class CharA, class CharB>
bool xmlNamesEqual(XmlTextView<CharA> a, XmlTextView<CharB> b, bool ignoreCase) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = xmlUnit(a[i]);
        char16_t y = xmlUnit(b[i]);
        if (ignoreCase) {
            x = x >= u'A' && x <= u'Z' ? static_cast<char16_t>(x + 32) : x;
            y = y >= u'A' && y <= u'Z' ? static_cast<char16_t>(y + 32) : y;
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

// ASCII-case-insensitive equality, for the names the text-file layer compares.
bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

// Scans the node at `offset` (< text.size()); syntax errors are added to `result`.
template <class Char>
XmlNode scanXmlNode(XmlTextView<Char> text, std::size_t offset, XmlResult& result);
inline XmlNode scanXmlNode(std::u16string_view text, std::size_t offset, XmlResult& result) {
    return scanXmlNode<char16_t>(text, offset, result);
}

template <class Char>
struct BasicXmlAttributeToken {
    XmlTextView<Char> name;
    XmlTextView<Char> value; // the name itself for an attribute written without "="
    std::size_t begin = 0;   // offset of the name
    std::size_t valueBegin = 0;
    std::size_t end = 0; // just past the value and its closing quote
    bool hasValue = false;
    bool quoted = false;
};

// Walks the attributes of a tag: `from` is just after "<" (or "<?"), `to`
// the end of the tag.  The first token, the element name, is skipped.
template <class Char>
class BasicXmlAttributeReader {
public:
    using Token = BasicXmlAttributeToken<Char>;

    BasicXmlAttributeReader(XmlTextView<Char> text, std::size_t from, std::size_t to);
    XmlTextView<Char> elementName() const { return elementName_; }
    std::size_t elementNameEnd() const { return nameEnd_; }
    bool next(Token& token);

private:
    void readValue(Token& token);

    XmlTextView<Char> text_;
    std::size_t pos_;
    std::size_t to_;
    std::size_t nameEnd_;
    XmlTextView<Char> elementName_;
};

using XmlAttributeToken = BasicXmlAttributeToken<char16_t>;
using XmlAttributeReader = BasicXmlAttributeReader<char16_t>;
