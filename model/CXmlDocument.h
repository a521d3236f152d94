#pragma once

#include "model/XmlElementIndex.h"
#include "model/XmlResult.h"
#include "model/XmlScanner.h"
#include "model/XmlText.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct XmlAttribute {
    std::u16string_view name;
    std::u16string_view value;
};

// One XML document held as a single text of UTF-16 units (see XmlText for
// how it is stored) with an index of where its elements are.  Editing splices
// the text; problems are recorded in the result text, never thrown.
class CXmlDocument {
public:
    // Document flags.
    static constexpr unsigned kUtf16LeMark = 0x01;
    static constexpr unsigned kUtf8Mark = 0x04;
    static constexpr unsigned kIgnoreCase = 0x08;
    static constexpr unsigned kReadingPieces = 0x10;
    static constexpr unsigned kWritingPieces = 0x20;
    static constexpr unsigned kAppending = 0x40;
    static constexpr unsigned kUtf16BeMark = 0x80;

    CXmlDocument();

    bool setDocument();
    bool setDocument(std::u16string_view text);
    bool loadFile(const std::string& path);
    bool saveFile(const std::string& path);
    const std::u16string& getResult() const { return result_.text(); }

    void resetPosition();
    bool findElement(std::u16string_view name);
    bool enterElement();
    bool leaveElement();
    std::u16string getAttribute(std::u16string_view name) const;
    // The name of the current element, empty if there is none.
    std::u16string currentElementName() const;
    bool addElement(std::u16string_view name);
    // The same as addElement followed by setAttribute for each attribute in
    // turn, but the start tag is built once and spliced in once.
    bool addElement(std::u16string_view name, std::span<const XmlAttribute> attributes);
    bool setAttribute(std::u16string_view name, std::u16string_view value);
    bool isWellFormed() const;

    std::u16string text() const { return text_.toUtf16(); }
    // Room for a text about to be built, so that appending never copies it.
    void reserve(std::size_t characters) { text_.reserve(characters); }
    unsigned flags() const { return flags_; }
    void setFlags(unsigned flags) { flags_ = flags; }

private:
    template <class Char>
    struct OpenElement;
    template <class Char>
    class OpenNames;

    void parse();
    template <class Char>
    void parseText(XmlTextView<Char> text);
    void closeUnended(std::uint32_t element, std::size_t offset2);
    void reparentClosed(std::uint32_t outermost);
    void linkLastChild(std::uint32_t parent, std::uint32_t element);
    void linkAfter(std::uint32_t sibling, std::uint32_t element);
    void markError(std::uint32_t innermost);
    // The text changed by `delta` at `position`: later elements move, the
    // chain from `enclosing` up to the document grows.
    void shift(std::size_t position, bool inclusive, std::int64_t delta, std::uint32_t enclosing);
    template <class Char>
    XmlTextView<Char> elementName(XmlTextView<Char> text, std::uint32_t element) const;
    std::u16string elementName(std::uint32_t element) const;
    bool elementNameIs(std::uint32_t element, std::u16string_view name) const;
    template <class CharA, class CharB>
    bool namesEqual(XmlTextView<CharA> a, XmlTextView<CharB> b) const {
        return xmlNamesEqual(a, b, (flags_ & kIgnoreCase) != 0);
    }
    bool isEmptyElementTag(std::uint32_t element) const;
    template <class Char>
    const std::vector<BasicXmlAttributeToken<Char>>& attributesOf(XmlTextView<Char> text,
                                                                  std::uint32_t element) const;
    bool appendFreshAttribute(std::u16string_view name, std::u16string_view value);
    // Puts the element whose whole start tag (an empty-element tag) is
    // `element` where addElement puts a new element.
    bool insertElement(std::u16string_view name, std::u16string_view element, bool fresh);

    XmlText text_;
    XmlResult result_;
    unsigned flags_ = 0;
    XmlElementIndex index_;
    std::uint32_t parent_ = 0;
    std::uint32_t current_ = 0;
    std::uint32_t child_ = 0;
    // While the records are numbered in text order (always after a parse,
    // and while a writer only appends), the elements after a splice are
    // exactly the last few records: a whole save stays linear.
    bool inTextOrder_ = true;

    // Reading a profile asks for several attributes of each element: its
    // start tag is split into attributes once per element and text version.
    std::uint64_t textVersion_ = 0;
    mutable std::uint32_t attributesElement_ = 0;
    mutable std::uint64_t attributesVersion_ = 0;
    mutable std::vector<BasicXmlAttributeToken<char>> asciiAttributes_;
    mutable std::vector<BasicXmlAttributeToken<char16_t>> utf16Attributes_;
    // Writing sets the attributes of the element just added one after the
    // other: while they are new names, each goes straight before the tag's end.
    std::uint32_t freshElement_ = 0;
    std::vector<std::u16string> freshNames_;
    // The start tag being added, kept for the next one: a save adds hundreds
    // of thousands.
    std::u16string tag_;
};

// Reverses attribute escaping: numeric references and HTML 4 entity names;
// anything else keeps its ampersand as a plain character.
std::u16string unescapeXml(std::u16string_view value);
