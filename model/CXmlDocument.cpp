#include "model/CXmlDocument.h"

#include "model/TextFile.h"
#include "model/XmlEntities.h"
#include "model/XmlScanner.h"

#include <limits>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t kLongestReference = 9;

char16_t lowerAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

void appendCodePoint(std::u16string& out, char32_t codePoint) {
    if (codePoint > 0xFFFF) {
        codePoint -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(codePoint));
    }
}

int digitValue(char16_t c, int base) {
    int value = 99;
    if (c >= u'0' && c <= u'9') {
        value = c - u'0';
    } else if (c >= u'a' && c <= u'f') {
        value = c - u'a' + 10;
    } else if (c >= u'A' && c <= u'F') {
        value = c - u'A' + 10;
    }
    return value < base ? value : -1;
}

// The character a reference body ("#65", "#x41", "amp") stands for, 0 if none.
template <class Char>
char32_t referencedCharacter(XmlTextView<Char> body) {
    if (body.empty()) {
        return 0;
    }
    if (body[0] == Char('#')) {
        int base = 10;
        std::size_t digits = 1;
        if (body.size() > 1 && (body[1] == Char('x') || body[1] == Char('X'))) {
            base = 16;
            digits = 2;
        }
        if (digits >= body.size()) {
            return 0;
        }
        std::uint64_t value = 0;
        for (std::size_t i = digits; i < body.size(); ++i) {
            int digit = digitValue(xmlUnit(body[i]), base);
            if (digit < 0) {
                return 0;
            }
            value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        }
        // Beyond Unicode there is no character, and no surrogate pair to make.
        return value <= 0x10FFFF ? static_cast<char32_t>(value) : 0;
    }
    std::string name;
    for (Char c : body) {
        name.push_back(static_cast<char>(c));
    }
    return lookupXmlEntity(name);
}

template <class Char>
std::u16string unescape(XmlTextView<Char> value) {
    std::u16string out;
    if (value.find(Char('&')) == XmlTextView<Char>::npos) {
        out.assign(value.begin(), value.end());
        return out;
    }
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != Char('&')) {
            out.push_back(xmlUnit(value[i]));
            continue;
        }
        std::size_t end = i + 1;
        while (end < value.size() && end <= i + kLongestReference && value[end] != Char(';') &&
               xmlUnit(value[end]) < 0x80) {
            ++end;
        }
        if (end >= value.size() || value[end] != Char(';')) {
            out.push_back(u'&');
            continue;
        }
        char32_t character = referencedCharacter(value.substr(i + 1, end - i - 1));
        if (character == 0) {
            out.push_back(u'&');
            continue;
        }
        appendCodePoint(out, character);
        i = end;
    }
    return out;
}

template <class Char>
struct NameKey {
    bool ignoreCase;
    std::size_t operator()(XmlTextView<Char> name) const {
        std::size_t hash = 1469598103934665603ull;
        for (Char c : name) {
            const char16_t unit = xmlUnit(c);
            hash = (hash ^ (ignoreCase ? lowerAscii(unit) : unit)) * 1099511628211ull;
        }
        return hash;
    }
    bool operator()(XmlTextView<Char> a, XmlTextView<Char> b) const {
        return xmlNamesEqual(a, b, ignoreCase);
    }
};

} // namespace

std::u16string unescapeXml(std::u16string_view value) {
    return unescape(value);
}

template <class Char>
struct CXmlDocument::OpenElement {
    std::uint32_t record;
    XmlTextView<Char> name;
};

// How many open start tags carry each name, so that an end tag that matches
// none is known at once instead of after a walk down a deep stack.
template <class Char>
class CXmlDocument::OpenNames {
public:
    explicit OpenNames(bool ignoreCase) : counts_(16, NameKey<Char>{ignoreCase}, NameKey<Char>{ignoreCase}) {}
    void push(XmlTextView<Char> name) { ++counts_[name]; }
    // Names stay filed at zero: the same few names open and close all the time.
    void pop(XmlTextView<Char> name) {
        auto found = counts_.find(name);
        if (found != counts_.end() && found->second > 0) {
            --found->second;
        }
    }
    bool contains(XmlTextView<Char> name) const {
        auto found = counts_.find(name);
        return found != counts_.end() && found->second > 0;
    }

private:
    std::unordered_map<XmlTextView<Char>, int, NameKey<Char>, NameKey<Char>> counts_;
};

CXmlDocument::CXmlDocument() {
    setDocument();
}

template <class Char>
XmlTextView<Char> CXmlDocument::elementName(XmlTextView<Char> text, std::uint32_t element) const {
    std::size_t from = index_[element].start + 1;
    return text.substr(from, xmlNameEnd(text, from) - from);
}

std::u16string CXmlDocument::elementName(std::uint32_t element) const {
    return text_.visit([&](auto text) {
        auto name = elementName(text, element);
        return std::u16string(name.begin(), name.end());
    });
}

bool CXmlDocument::elementNameIs(std::uint32_t element, std::u16string_view name) const {
    return text_.visit([&](auto text) { return namesEqual(elementName(text, element), name); });
}

bool CXmlDocument::isEmptyElementTag(std::uint32_t element) const {
    const XmlElementRecord& r = index_[element];
    if (r.endTagLength != 0 || r.unended || r.startTagLength < 3) {
        return false;
    }
    const std::size_t end = r.start + r.startTagLength;
    return text_[end - 2] == u'/' && text_[end - 1] == u'>';
}

bool CXmlDocument::setDocument() {
    return setDocument(std::u16string_view());
}

bool CXmlDocument::setDocument(std::u16string_view text) {
    if ((flags_ & (kReadingPieces | kWritingPieces)) != 0) {
        return false;
    }
    text_.assign(text);
    ++textVersion_;
    result_.clear();
    parse();
    return isWellFormed();
}

bool CXmlDocument::loadFile(const std::string& path) {
    // The old text goes before the file is read, not after: the two are
    // never held at once.
    text_.clear();
    unsigned flags = flags_;
    bool read = readTextFile(path, text_, flags, result_);
    if (read) {
        flags_ = flags;
    }
    // A failed read leaves the text empty; the index is emptied with it, so
    // that it never points into a text it was not made from.  Parsing the
    // empty text adds nothing to the file's entries.
    ++textVersion_;
    parse();
    return read;
}

bool CXmlDocument::saveFile(const std::string& path) {
    return writeTextFile(path, text_, flags_, result_);
}

void CXmlDocument::resetPosition() {
    parent_ = 0;
    current_ = 0;
    child_ = 0;
}

void CXmlDocument::linkLastChild(std::uint32_t parent, std::uint32_t element) {
    XmlElementRecord& p = index_[parent];
    XmlElementRecord& e = index_[element];
    e.parent = parent;
    e.nextSibling = 0;
    if (p.firstChild == 0) {
        p.firstChild = element;
        e.isFirstChild = true;
        e.previousSibling = element;
        return;
    }
    XmlElementRecord& first = index_[p.firstChild];
    std::uint32_t last = first.previousSibling;
    index_[last].nextSibling = element;
    e.previousSibling = last;
    first.previousSibling = element;
}

void CXmlDocument::linkAfter(std::uint32_t sibling, std::uint32_t element) {
    XmlElementRecord& s = index_[sibling];
    XmlElementRecord& e = index_[element];
    e.parent = s.parent;
    e.previousSibling = sibling;
    e.nextSibling = s.nextSibling;
    s.nextSibling = element;
    if (e.nextSibling != 0) {
        index_[e.nextSibling].previousSibling = element;
    } else {
        index_[index_[s.parent].firstChild].previousSibling = element;
    }
}

void CXmlDocument::markError(std::uint32_t innermost) {
    index_[0].illFormed = true;
    if (innermost != 0) {
        index_[innermost].errorInside = true;
    }
}

// The element ends at its start tag; its children follow it under its own
// parent.  Open elements are always the last child of their parent, so the
// children are spliced in right after it.  Their parent fields are left for
// reparentClosed: fixing them here would move a child once per level it
// passes, which makes a run of unclosed tags quadratic.
void CXmlDocument::closeUnended(std::uint32_t element, std::size_t offset2) {
    XmlElementRecord& e = index_[element];
    e.unended = true;
    e.length = e.startTagLength;
    result_.add({u"unended_start_tag", u"tagname", elementName(element), u"offset", e.start, true,
                 static_cast<long long>(offset2)});
    std::uint32_t first = e.firstChild;
    if (first == 0) {
        return;
    }
    std::uint32_t last = index_[first].previousSibling;
    index_[first].isFirstChild = false;
    index_[first].previousSibling = element;
    e.nextSibling = first;
    e.firstChild = 0;
    index_[index_[e.parent].firstChild].previousSibling = last;
}

// After a run of implicit closes everything that followed `outermost` under
// its parent was moved there by them; each is given its new parent once.
void CXmlDocument::reparentClosed(std::uint32_t outermost) {
    std::uint32_t parent = index_[outermost].parent;
    for (std::uint32_t c = index_[outermost].nextSibling; c != 0; c = index_[c].nextSibling) {
        index_[c].parent = parent;
    }
}

void CXmlDocument::parse() {
    index_.reset(text_.size() / 64 + 8);
    inTextOrder_ = true;
    freshElement_ = 0;
    resetPosition();
    // An empty text is not scanned at all, so it reports nothing, not even
    // the missing root.
    if (text_.empty()) {
        return;
    }
    // Offsets are 32-bit: a longer text is left unindexed rather than wrapped.
    if (text_.size() >= std::numeric_limits<std::uint32_t>::max()) {
        index_[0].illFormed = true;
        result_.add({u"no_root_element"});
        return;
    }
    text_.visit([&](auto text) { parseText(text); });
}

template <class Char>
void CXmlDocument::parseText(XmlTextView<Char> text) {
    std::vector<OpenElement<Char>> open;
    OpenNames<Char> openNames((flags_ & kIgnoreCase) != 0);
    auto innermost = [&] {
        return open.empty() ? 0u : open.back().record;
    };
    // Popped from the top of the stack: the innermost element is closed, and
    // reported, first.
    auto closeFrom = [&](std::size_t depth, std::size_t offset2) {
        if (open.size() <= depth) {
            return;
        }
        std::uint32_t outermost = open[depth].record;
        while (open.size() > depth) {
            closeUnended(open.back().record, offset2);
            openNames.pop(open.back().name);
            open.pop_back();
        }
        reparentClosed(outermost);
    };

    for (std::size_t pos = 0; pos < text.size();) {
        XmlNode node = scanXmlNode(text, pos, result_);
        pos = node.start + std::max<std::size_t>(node.length, 1);
        switch (node.kind) {
        case XmlNodeKind::StartTag:
        case XmlNodeKind::EmptyElementTag: {
            std::uint32_t record = index_.add();
            XmlElementRecord& r = index_[record];
            r.start = static_cast<std::uint32_t>(node.start);
            r.startTagLength = static_cast<std::uint32_t>(node.length);
            r.length = r.startTagLength;
            linkLastChild(innermost(), record);
            if (node.kind == XmlNodeKind::StartTag) {
                open.push_back({record, elementName(text, record)});
                openNames.push(open.back().name);
            }
            break;
        }
        case XmlNodeKind::EndTag: {
            std::size_t from = node.start + 2;
            XmlTextView<Char> name = text.substr(from, xmlNameEnd(text, from) - from);
            if (!openNames.contains(name)) {
                const std::u16string tagName(name.begin(), name.end());
                result_.add(
                    {u"lone_end_tag", u"tagname", tagName, u"offset", static_cast<long long>(node.start)});
                markError(innermost());
                break;
            }
            std::size_t depth = open.size() - 1;
            while (!namesEqual(open[depth].name, name)) {
                --depth;
            }
            closeFrom(depth + 1, node.start);
            XmlElementRecord& r = index_[open[depth].record];
            r.length = static_cast<std::uint32_t>(node.start + node.length - r.start);
            r.endTagLength = static_cast<std::uint32_t>(node.length);
            openNames.pop(open[depth].name);
            open.pop_back();
            break;
        }
        case XmlNodeKind::Error:
            markError(innermost());
            break;
        default:
            break;
        }
    }
    closeFrom(0, text.size());

    XmlElementRecord& document = index_[0];
    document.length = static_cast<std::uint32_t>(text.size());
    if (document.firstChild == 0) {
        result_.add({u"no_root_element"});
    } else if (index_[document.firstChild].nextSibling != 0) {
        result_.add({u"root_has_sibling"});
    }
}

bool CXmlDocument::isWellFormed() const {
    const XmlElementRecord& document = index_[0];
    return document.firstChild != 0 && !document.illFormed && index_[document.firstChild].nextSibling == 0;
}

bool CXmlDocument::findElement(std::u16string_view name) {
    if ((flags_ & kWritingPieces) != 0) {
        return false;
    }
    std::uint32_t candidate = current_ != 0 ? index_[current_].nextSibling : index_[parent_].firstChild;
    for (; candidate != 0; candidate = index_[candidate].nextSibling) {
        if (name.empty() || elementNameIs(candidate, name)) {
            current_ = candidate;
            parent_ = index_[candidate].parent;
            child_ = 0;
            return true;
        }
    }
    return false;
}

bool CXmlDocument::enterElement() {
    if (current_ == 0) {
        return false;
    }
    parent_ = current_;
    current_ = child_;
    child_ = 0;
    return true;
}

bool CXmlDocument::leaveElement() {
    if (parent_ == 0) {
        return false;
    }
    child_ = current_;
    current_ = parent_;
    parent_ = index_[current_].parent;
    return true;
}

template <class Char>
const std::vector<BasicXmlAttributeToken<Char>>& CXmlDocument::attributesOf(XmlTextView<Char> text,
                                                                            std::uint32_t element) const {
    std::vector<BasicXmlAttributeToken<Char>>* attributes = nullptr;
    if constexpr (std::is_same_v<Char, char>) {
        attributes = &asciiAttributes_;
    } else {
        attributes = &utf16Attributes_;
    }
    if (attributesElement_ != element || attributesVersion_ != textVersion_) {
        attributes->clear();
        const XmlElementRecord& r = index_[element];
        BasicXmlAttributeReader<Char> reader(text, r.start + 1, r.start + r.startTagLength);
        BasicXmlAttributeToken<Char> token;
        while (reader.next(token)) {
            attributes->push_back(token);
        }
        attributesElement_ = element;
        attributesVersion_ = textVersion_;
    }
    return *attributes;
}

std::u16string CXmlDocument::getAttribute(std::u16string_view name) const {
    if (current_ == 0) {
        return {};
    }
    return text_.visit([&](auto text) {
        for (const auto& token : attributesOf(text, current_)) {
            if (namesEqual(token.name, name)) {
                return unescape(token.value);
            }
        }
        return std::u16string();
    });
}

std::u16string CXmlDocument::currentElementName() const {
    return current_ != 0 ? elementName(current_) : std::u16string();
}

void CXmlDocument::shift(std::size_t position, bool inclusive, std::int64_t delta, std::uint32_t enclosing) {
    auto moves = [&](std::uint32_t n) {
        std::size_t start = index_[n].start;
        return inclusive ? start >= position : start > position;
    };
    auto move = [&](std::uint32_t n) {
        index_[n].start = static_cast<std::uint32_t>(static_cast<std::int64_t>(index_[n].start) + delta);
    };
    if (inTextOrder_) {
        for (std::uint32_t n = index_.next() - 1; n > 0 && moves(n); --n) {
            move(n);
        }
    } else {
        for (std::uint32_t n = 1; n < index_.next(); ++n) {
            if (moves(n)) {
                move(n);
            }
        }
    }
    for (std::uint32_t n = enclosing;; n = index_[n].parent) {
        index_[n].length = static_cast<std::uint32_t>(static_cast<std::int64_t>(index_[n].length) + delta);
        if (n == 0) {
            break;
        }
    }
}

bool CXmlDocument::addElement(std::u16string_view name) {
    if ((flags_ & kReadingPieces) != 0 || name.empty()) {
        return false;
    }
    tag_ = u"<";
    tag_ += name;
    tag_ += u"/>";
    return insertElement(name, tag_, true);
}

bool CXmlDocument::addElement(std::u16string_view name, std::span<const XmlAttribute> attributes) {
    if ((flags_ & kReadingPieces) != 0 || name.empty()) {
        return false;
    }
    // Whatever the splice of one attribute after the other would have made
    // of odd names (a delimiter inside, the same name twice) comes from the
    // splices themselves.
    bool plain = xmlNameEnd(name, 0) == name.size();
    std::size_t characters = name.size() + 3;
    for (std::size_t i = 0; plain && i < attributes.size(); ++i) {
        const XmlAttribute& attribute = attributes[i];
        plain = !attribute.name.empty() && xmlNameEnd(attribute.name, 0) == attribute.name.size();
        for (std::size_t k = 0; plain && k < i; ++k) {
            // Names of different lengths differ in either case rule.
            plain = attributes[k].name.size() != attribute.name.size() ||
                    !namesEqual(attributes[k].name, attribute.name);
        }
        characters += attribute.name.size() + attribute.value.size() + 4;
    }
    if (!plain) {
        if (!addElement(name)) {
            return false;
        }
        for (const XmlAttribute& attribute : attributes) {
            if (!setAttribute(attribute.name, attribute.value)) {
                return false;
            }
        }
        return true;
    }
    tag_.clear();
    tag_.reserve(characters);
    tag_ += u'<';
    tag_ += name;
    for (const XmlAttribute& attribute : attributes) {
        tag_ += u' ';
        tag_ += attribute.name;
        tag_ += u"=\"";
        appendEscapedXmlAttribute(tag_, attribute.value);
        tag_ += u'"';
    }
    tag_ += u"/>";
    return insertElement(name, tag_, attributes.empty());
}

bool CXmlDocument::insertElement(std::u16string_view name, std::u16string_view element, bool fresh) {
    const std::size_t tagLength = element.size();
    if (text_.size() + element.size() + name.size() + 16 >= std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    std::uint32_t parent = parent_;
    std::size_t newStart = 0;

    if (current_ == 0 && parent != 0 && isEmptyElementTag(parent)) {
        // <P/> becomes <P>, the new line and </P>: the "/" makes way for the
        // rest and P's own ">" closes the new end tag.
        XmlElementRecord& p = index_[parent];
        std::size_t slash = p.start + p.startTagLength - 2;
        const std::u16string parentName = elementName(parent);
        constexpr std::u16string_view kOpen = u">\r\n";
        constexpr std::u16string_view kClose = u"\r\n</";
        std::int64_t delta =
            static_cast<std::int64_t>(kOpen.size() + element.size() + kClose.size() + parentName.size()) - 1;
        std::uint32_t endTagLength = static_cast<std::uint32_t>(parentName.size() + 3);
        text_.replace(slash, 1, {kOpen, element, kClose, parentName});
        ++textVersion_;
        shift(slash, false, delta, parent);
        XmlElementRecord& opened = index_[parent];
        opened.startTagLength -= 1;
        opened.endTagLength = endTagLength;
        newStart = slash + 3;
    } else {
        std::size_t point = text_.size();
        if (current_ != 0) {
            point = index_[current_].start + index_[current_].length;
        } else if (parent != 0) {
            const XmlElementRecord& p = index_[parent];
            point = p.start + p.length - p.endTagLength;
        }
        std::size_t after = point;
        while (after < text_.size() && isXmlWhiteSpace(text_[after])) {
            ++after;
        }
        if (after == text_.size() || text_[after] == u'<') {
            point = after;
        }
        constexpr std::u16string_view kLineEnd = u"\r\n";
        text_.replace(point, 0, {element, kLineEnd});
        ++textVersion_;
        shift(point, true, static_cast<std::int64_t>(element.size() + kLineEnd.size()), parent);
        newStart = point;
    }

    if (index_.next() > 1 && index_[index_.next() - 1].start > newStart) {
        inTextOrder_ = false;
    }
    std::uint32_t record = index_.add();
    XmlElementRecord& r = index_[record];
    r.start = static_cast<std::uint32_t>(newStart);
    r.startTagLength = static_cast<std::uint32_t>(tagLength);
    r.length = r.startTagLength;
    if (current_ != 0) {
        linkAfter(current_, record);
    } else {
        linkLastChild(parent, record);
    }
    current_ = record;
    child_ = 0;
    // A name with a delimiter in it would read as a name and attributes.
    // Attributes written with the tag are not filed as fresh names: a later
    // setAttribute takes the general way.
    freshElement_ = fresh && xmlNameEnd(name, 0) == name.size() ? record : 0;
    freshNames_.clear();
    return true;
}

// The element was made by addElement and only given attributes since, so
// its tag is exactly "<name", those attributes and "/>" or ">".
bool CXmlDocument::appendFreshAttribute(std::u16string_view name, std::u16string_view value) {
    for (const std::u16string& set : freshNames_) {
        if (namesEqual(std::u16string_view(set), name)) {
            return false;
        }
    }
    const XmlElementRecord& r = index_[current_];
    std::size_t tagEnd = r.start + r.startTagLength;
    std::size_t insertAt = tagEnd - (isEmptyElementTag(current_) ? 2 : 1);
    std::u16string piece;
    piece.reserve(name.size() + value.size() + 8);
    piece += u' ';
    piece += name;
    piece += u"=\"";
    appendEscapedXmlAttribute(piece, value);
    piece += u'"';
    if (text_.size() + piece.size() >= std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    std::uint32_t element = current_;
    std::size_t elementStart = r.start;
    auto delta = static_cast<std::int64_t>(piece.size());
    text_.insert(insertAt, piece);
    ++textVersion_;
    shift(elementStart, false, delta, element);
    index_[element].startTagLength = static_cast<std::uint32_t>(index_[element].startTagLength + delta);
    freshNames_.emplace_back(name);
    return true;
}

bool CXmlDocument::setAttribute(std::u16string_view name, std::u16string_view value) {
    if ((flags_ & kReadingPieces) != 0 || current_ == 0 || name.empty()) {
        return false;
    }
    if (current_ == freshElement_ && appendFreshAttribute(name, value)) {
        return true;
    }
    const XmlElementRecord& r = index_[current_];
    std::size_t tagEnd = r.start + r.startTagLength;
    // Where the attribute of that name is, or where a new one goes.
    struct Place {
        std::size_t insertAt = 0;
        bool found = false;
        bool hasValue = false;
        bool quoted = false;
        std::size_t valueBegin = 0;
        std::size_t end = 0;
        bool danglingEquals = false;
    };
    const Place place = text_.visit([&](auto text) {
        Place at;
        BasicXmlAttributeReader reader(text, r.start + 1, tagEnd);
        at.insertAt = reader.elementNameEnd();
        typename decltype(reader)::Token token;
        while (reader.next(token)) {
            if (namesEqual(token.name, name)) {
                at.found = true;
                at.hasValue = token.hasValue;
                at.quoted = token.quoted;
                at.valueBegin = token.valueBegin;
                at.end = token.end;
                break;
            }
            at.insertAt = token.end;
            at.danglingEquals = token.hasValue && !token.quoted && token.value.empty();
        }
        return at;
    });
    std::size_t insertAt = place.insertAt;
    std::size_t replaceLength = 0;
    std::u16string piece;
    piece.reserve(name.size() + value.size() + 8);
    if (place.found && place.hasValue) {
        insertAt = place.quoted ? place.valueBegin - 1 : place.valueBegin;
        replaceLength = place.end - insertAt;
    } else if (place.found) {
        insertAt = place.end;
        piece += u'=';
    } else {
        // An empty-element tag keeps its "/>" after the new attribute.
        if (isEmptyElementTag(current_) && insertAt > tagEnd - 2) {
            insertAt = tagEnd - 2;
        }
        // After "name=" with nothing behind it the new attribute would read
        // as that value: the empty value is written out first.
        if (place.danglingEquals) {
            piece += u"\"\"";
        }
        piece += u' ';
        piece += name;
        piece += u'=';
    }
    piece += u'"';
    appendEscapedXmlAttribute(piece, value);
    piece += u'"';
    std::int64_t delta = static_cast<std::int64_t>(piece.size()) - static_cast<std::int64_t>(replaceLength);
    if (text_.size() + piece.size() >= std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    std::uint32_t element = current_;
    std::size_t elementStart = r.start;
    text_.replace(insertAt, replaceLength, piece);
    ++textVersion_;
    shift(elementStart, false, delta, element);
    index_[element].startTagLength = static_cast<std::uint32_t>(index_[element].startTagLength + delta);
    return true;
}
