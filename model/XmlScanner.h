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

// End of the name that begins at `from`.
inline std::size_t xmlNameEnd(std::u16string_view text, std::size_t from) {
    while (from < text.size() && !isXmlNameDelimiter(text[from])) {
        ++from;
    }
    return from;
}
// ASCII-case-insensitive equality, for the names the text-file layer compares.
bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

// Scans the node at `offset` (< text.size()); syntax errors are added to `result`.
XmlNode scanXmlNode(std::u16string_view text, std::size_t offset, XmlResult& result);

struct XmlAttributeToken {
    std::u16string_view name;
    std::u16string_view value; // the name itself for an attribute written without "="
    std::size_t begin = 0;     // offset of the name
    std::size_t valueBegin = 0;
    std::size_t end = 0; // just past the value and its closing quote
    bool hasValue = false;
    bool quoted = false;
};

// Walks the attributes of a tag: `from` is just after "<" (or "<?"), `to`
// the end of the tag.  The first token, the element name, is skipped.
class XmlAttributeReader {
public:
    XmlAttributeReader(std::u16string_view text, std::size_t from, std::size_t to);
    std::u16string_view elementName() const { return elementName_; }
    std::size_t elementNameEnd() const { return nameEnd_; }
    bool next(XmlAttributeToken& token);

private:
    void readValue(XmlAttributeToken& token);

    std::u16string_view text_;
    std::size_t pos_;
    std::size_t to_;
    std::size_t nameEnd_;
    std::u16string_view elementName_;
};
