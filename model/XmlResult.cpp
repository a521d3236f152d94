#include "model/XmlResult.h"

namespace {

std::u16string decimal(long long value) {
    std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

} // namespace

std::u16string escapeXmlAttribute(std::u16string_view value) {
    std::u16string escaped;
    appendEscapedXmlAttribute(escaped, value);
    return escaped;
}

void appendEscapedXmlAttribute(std::u16string& escaped, std::u16string_view value) {
    auto isSpecial = [](char16_t c) {
        return c <= u'>' && (c == u'"' || c == u'&' || c == u'\'' || c == u'<' || c == u'>');
    };
    // Runs of plain characters go in whole: most values have nothing to escape.
    for (std::size_t from = 0; from < value.size();) {
        std::size_t special = from;
        while (special < value.size() && !isSpecial(value[special])) {
            ++special;
        }
        escaped.append(value.substr(from, special - from));
        if (special == value.size()) {
            break;
        }
        switch (value[special]) {
        case u'"':
            escaped += u"&quot;";
            break;
        case u'&':
            escaped += u"&amp;";
            break;
        case u'\'':
            escaped += u"&apos;";
            break;
        case u'<':
            escaped += u"&lt;";
            break;
        default:
            escaped += u"&gt;";
            break;
        }
        from = special + 1;
    }
}

std::u16string XmlResult::format(const XmlResultEntry& entry) {
    std::u16string out = u"<";
    out += entry.name;
    if (!entry.textName.empty()) {
        out += u" ";
        out += entry.textName;
        out += u"=\"" + escapeXmlAttribute(entry.text) + u"\"";
    }
    if (!entry.numberName.empty()) {
        out += u" ";
        out += entry.numberName;
        out += u"=\"" + decimal(entry.number) + u"\"";
    }
    if (entry.hasOffset2) {
        out += u" offset2=\"" + decimal(entry.offset2) + u"\"";
    }
    out += u"/>";
    return out;
}

std::size_t XmlResult::add(const XmlResultEntry& entry) {
    if (text_.size() > kCap) {
        return kDropped;
    }
    std::size_t position = text_.size();
    text_ += format(entry);
    return position;
}

void XmlResult::replace(std::size_t position, const XmlResultEntry& entry) {
    if (position == kDropped || position >= text_.size()) {
        return;
    }
    std::size_t end = text_.find(u"/>", position);
    if (end == std::u16string::npos) {
        return;
    }
    text_.replace(position, end + 2 - position, format(entry));
}
