#include "model/XmlScanner.h"

#include <algorithm>

namespace {

using namespace std::string_view_literals;

constexpr std::size_t npos = std::u16string_view::npos;

// Where an ASCII `pattern` next occurs in the text, in either of its forms.
template <class Char>
std::size_t findAscii(XmlTextView<Char> text, std::string_view pattern, std::size_t from) {
    const auto first = static_cast<Char>(pattern[0]);
    for (std::size_t at = text.find(first, from); at != npos; at = text.find(first, at + 1)) {
        if (text.size() - at < pattern.size()) {
            return npos;
        }
        std::size_t i = 1;
        while (i < pattern.size() && text[at + i] == static_cast<Char>(pattern[i])) {
            ++i;
        }
        if (i == pattern.size()) {
            return at;
        }
    }
    return npos;
}

bool isAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

char16_t lowerAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

bool beginsStartTag(char16_t c) {
    return c == u':' || c == u'_' || isAsciiLetter(c) || c > 0x60;
}

template <class Char>
struct Scan {
    XmlTextView<Char> text;
    std::size_t start;
    XmlResult& result;

    XmlNode node(XmlNodeKind kind, std::size_t end) const { return {kind, start, end - start}; }

    XmlNode unterminated(std::u16string_view type) const {
        result.add({u"unterminated_tag_syntax", u"type", type, u"offset", static_cast<long long>(start)});
        return node(XmlNodeKind::Error, text.size());
    }

    // After a syntax error the node runs to the next ">" (or the end).
    XmlNode syntaxError(std::u16string_view entry, std::size_t from) const {
        result.add({entry, {}, {}, u"offset", static_cast<long long>(start)});
        std::size_t close = text.find(Char('>'), from);
        return node(XmlNodeKind::Error, close == npos ? text.size() : close + 1);
    }

    XmlNode until(std::string_view terminator, std::size_t from, XmlNodeKind kind,
                  std::u16string_view type) const {
        std::size_t found = from <= text.size() ? findAscii(text, terminator, from) : npos;
        if (found == npos) {
            return unterminated(type);
        }
        return node(kind, found + terminator.size());
    }

    // A ">" inside a value quoted after "=" does not end the tag; a "/" just
    // before ">" makes an empty-element tag unless it ends an unquoted value.
    XmlNode tag(bool endTag) const {
        bool afterEquals = false;
        std::size_t unquotedEnd = npos;
        std::size_t i = start + 1;
        while (i < text.size()) {
            char16_t c = xmlUnit(text[i]);
            if (c == u'>') {
                if (endTag) {
                    return node(XmlNodeKind::EndTag, i + 1);
                }
                bool empty = text[i - 1] == Char('/') && unquotedEnd != i && i - 1 > start;
                return node(empty ? XmlNodeKind::EmptyElementTag : XmlNodeKind::StartTag, i + 1);
            }
            if (afterEquals && (c == u'"' || c == u'\'')) {
                std::size_t close = text.find(text[i], i + 1);
                if (close == npos) {
                    break;
                }
                i = close + 1;
                afterEquals = false;
            } else if (isXmlWhiteSpace(c)) {
                ++i;
            } else if (c == u'=') {
                afterEquals = true;
                ++i;
            } else if (afterEquals) {
                while (i < text.size() && !isXmlWhiteSpace(xmlUnit(text[i])) && text[i] != Char('>')) {
                    ++i;
                }
                unquotedEnd = i;
                afterEquals = false;
            } else {
                ++i;
            }
        }
        return unterminated(endTag ? u"end_tag" : u"start_tag");
    }

    // Ends at the first ">" outside the bracketed internal subset, inside
    // which only element, attribute-list, entity and notation declarations may start.
    XmlNode documentType() const {
        int depth = 0;
        for (std::size_t i = start + 2; i < text.size(); ++i) {
            char16_t c = xmlUnit(text[i]);
            if (c == u'[') {
                ++depth;
            } else if (c == u']' && depth > 0) {
                --depth;
            } else if (c == u'>' && depth == 0) {
                return node(XmlNodeKind::DocumentType, i + 1);
            } else if (c == u'<' && depth > 0 && i + 1 < text.size() && text[i + 1] == Char('!')) {
                if (i + 2 >= text.size()) {
                    break;
                }
                char16_t kind = xmlUnit(text[i + 2]);
                if (kind != u'A' && kind != u'E' && kind != u'N') {
                    result.add({u"doctype_tag_syntax", {}, {}, u"offset", static_cast<long long>(i)});
                    std::size_t close = text.find(Char('>'), i);
                    return node(XmlNodeKind::Error, close == npos ? text.size() : close + 1);
                }
            }
        }
        return unterminated(u"document_type");
    }

    XmlNode declaration() const {
        std::size_t i = start + 2;
        if (i >= text.size()) {
            return unterminated(u"tag");
        }
        switch (xmlUnit(text[i])) {
        case u'-':
            if (i + 1 >= text.size()) {
                return unterminated(u"tag");
            }
            if (text[i + 1] != Char('-')) {
                return syntaxError(u"comment_tag_syntax", i);
            }
            return until("-->", i + 2, XmlNodeKind::Comment, u"comment");
        case u'[':
            if (i + 1 >= text.size()) {
                return unterminated(u"tag");
            }
            if (text[i + 1] != Char('C')) {
                return syntaxError(u"cdata_section_syntax", i);
            }
            return until("]]>", i + 2, XmlNodeKind::CDataSection, u"cdata_section");
        case u'D':
            return documentType();
        default:
            return syntaxError(u"exclamation_tag_syntax", i);
        }
    }

    XmlNode markup() const {
        std::size_t i = start + 1;
        if (i >= text.size()) {
            return unterminated(u"tag");
        }
        char16_t c = xmlUnit(text[i]);
        if (c == u'/') {
            return tag(true);
        }
        if (c == u'?') {
            return until("?>", i + 1, XmlNodeKind::ProcessingInstruction, u"processing_instruction");
        }
        if (c == u'!') {
            return declaration();
        }
        if (beginsStartTag(c)) {
            return tag(false);
        }
        return syntaxError(u"first_tag_syntax", i);
    }
};

} // namespace

bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

template <class Char>
XmlNode scanXmlNode(XmlTextView<Char> text, std::size_t offset, XmlResult& result) {
    if (text[offset] != Char('<')) {
        std::size_t end = offset;
        if (isXmlWhiteSpace(xmlUnit(text[offset]))) {
            while (end < text.size() && isXmlWhiteSpace(xmlUnit(text[end]))) {
                ++end;
            }
            return {XmlNodeKind::WhiteSpace, offset, end - offset};
        }
        end = text.find(Char('<'), offset);
        return {XmlNodeKind::Text, offset, (end == npos ? text.size() : end) - offset};
    }
    return Scan<Char>{text, offset, result}.markup();
}

template <class Char>
BasicXmlAttributeReader<Char>::BasicXmlAttributeReader(XmlTextView<Char> text, std::size_t from,
                                                       std::size_t to)
    : text_(text), pos_(from), to_(std::min(to, text.size())) {
    // Nothing is read past the tag's closing ">", not even an unclosed value.
    if (to_ > 0 && to_ > pos_ && text_[to_ - 1] == Char('>')) {
        --to_;
    }
    pos_ = std::min(pos_, to_);
    nameEnd_ = std::min(xmlNameEnd(text_, pos_), to_);
    elementName_ = text_.substr(pos_, nameEnd_ - pos_);
    pos_ = nameEnd_;
}

// Reads a value as the tag scanner does: after "=" (more white space and
// "=" may follow), a quote opens a value up to the same quote, anything else
// runs to white space.  Both must agree, or an edit could land inside a value.
template <class Char>
void BasicXmlAttributeReader<Char>::readValue(Token& token) {
    while (pos_ < to_ && (isXmlWhiteSpace(xmlUnit(text_[pos_])) || text_[pos_] == Char('='))) {
        ++pos_;
    }
    if (pos_ < to_ && (text_[pos_] == Char('"') || text_[pos_] == Char('\''))) {
        // Only the tag is searched: a quote left open must not send every
        // attribute read of a document to its far end.
        std::size_t close = text_.substr(0, to_).find(text_[pos_], pos_ + 1);
        std::size_t valueEnd = close == npos ? to_ : close;
        token.valueBegin = pos_ + 1;
        token.quoted = true;
        token.value = text_.substr(pos_ + 1, valueEnd - (pos_ + 1));
        pos_ = std::min(valueEnd + 1, to_);
    } else {
        std::size_t valueEnd = pos_;
        while (valueEnd < to_ && !isXmlWhiteSpace(xmlUnit(text_[valueEnd]))) {
            ++valueEnd;
        }
        token.valueBegin = pos_;
        token.value = text_.substr(pos_, valueEnd - pos_);
        pos_ = valueEnd;
    }
    token.end = pos_;
}

template <class Char>
bool BasicXmlAttributeReader<Char>::next(Token& token) {
    auto skipWhiteSpace = [&] {
        while (pos_ < to_ && isXmlWhiteSpace(xmlUnit(text_[pos_]))) {
            ++pos_;
        }
    };
    for (;;) {
        skipWhiteSpace();
        if (pos_ >= to_) {
            return false;
        }
        std::size_t nameBegin = pos_;
        std::size_t nameEnd = std::min(xmlNameEnd(text_, pos_), to_);
        if (nameEnd == nameBegin && text_[pos_] == Char('=')) {
            Token nameless;
            readValue(nameless); // a value without a name is skipped whole
            continue;
        }
        if (nameEnd == nameBegin) {
            ++pos_; // a stray delimiter such as the "/" of "/>" or the "?" of "?>"
            continue;
        }
        token = {};
        token.name = text_.substr(nameBegin, nameEnd - nameBegin);
        token.begin = nameBegin;
        token.value = token.name;
        token.valueBegin = nameBegin;
        token.end = nameEnd;
        pos_ = nameEnd;
        skipWhiteSpace();
        if (pos_ >= to_ || text_[pos_] != Char('=')) {
            pos_ = nameEnd;
            return true;
        }
        token.hasValue = true;
        readValue(token);
        return true;
    }
}

template XmlNode scanXmlNode<char>(XmlTextView<char>, std::size_t, XmlResult&);
template XmlNode scanXmlNode<char16_t>(XmlTextView<char16_t>, std::size_t, XmlResult&);
template class BasicXmlAttributeReader<char>;
template class BasicXmlAttributeReader<char16_t>;
