#include "model/XmlProblem.h"

#include "model/CXmlDocument.h"
#include "model/TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <string_view>

namespace {

// One result entry: <name attribute="value" .../>.
struct Entry {
    std::u16string name;
    std::map<std::u16string, std::u16string> attributes;
};

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// The result text is the component's own output, one empty element after the
// other; anything unexpected simply ends the list.
std::vector<Entry> entriesOf(std::u16string_view text) {
    std::vector<Entry> entries;
    std::size_t at = 0;
    while ((at = text.find(u'<', at)) != std::u16string_view::npos) {
        Entry entry;
        std::size_t end = ++at;
        while (end < text.size() && !isSpace(text[end]) && text[end] != u'/' && text[end] != u'>') {
            ++end;
        }
        entry.name = text.substr(at, end - at);
        at = end;
        while (at < text.size() && text[at] != u'>') {
            if (isSpace(text[at]) || text[at] == u'/') {
                ++at;
                continue;
            }
            const std::size_t equals = text.find(u"=\"", at);
            const std::size_t close =
                equals == std::u16string_view::npos ? equals : text.find(u'"', equals + 2);
            if (close == std::u16string_view::npos) {
                return entries;
            }
            entry.attributes[std::u16string(text.substr(at, equals - at))] =
                unescapeXml(text.substr(equals + 2, close - equals - 2));
            at = close + 1;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

long long number(const Entry& entry, const std::u16string& name) {
    const auto found = entry.attributes.find(name);
    if (found == entry.attributes.end()) {
        return -1;
    }
    const std::string digits = utf16ToUtf8(found->second);
    return digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos ? -1
                                                                                         : std::stoll(digits);
}

long lineAt(const std::u16string& text, long long offset) {
    const auto end = text.begin() + static_cast<std::ptrdiff_t>(std::min<long long>(offset, text.size()));
    return 1 + static_cast<long>(std::count(text.begin(), end, u'\n'));
}

// Entries that make a document unreadable; the component's other entries
// (what was read, implicitly closed elements) are notes.
bool isSyntaxError(const std::u16string& name) {
    return name == u"lone_end_tag" || (name.size() > 7 && name.ends_with(u"_syntax"));
}

} // namespace

std::string DescribeXmlProblem(const CXmlDocument& xml) {
    const std::vector<Entry> entries = entriesOf(xml.getResult());
    for (const Entry& entry : entries) {
        if (entry.name == u"file_error") {
            const long long error = number(entry, u"n");
            // The text-file layer's word for a device, a FIFO or a socket at the path.
            if (error == EINVAL) {
                return "not a regular file";
            }
            if (error > 0) {
                return std::strerror(static_cast<int>(error));
            }
            const auto message = entry.attributes.find(u"msg");
            return message == entry.attributes.end() ? "the file could not be used"
                                                     : utf16ToUtf8(message->second);
        }
        if (isSyntaxError(entry.name)) {
            const long long offset = number(entry, u"offset");
            return offset < 0 ? "not well formed"
                              : "not well formed at line " + std::to_string(lineAt(xml.text(), offset));
        }
        if (entry.name == u"no_root_element") {
            return "no root element";
        }
        if (entry.name == u"root_has_sibling") {
            return "more than one root element";
        }
    }
    if (xml.text().empty() && !xml.isWellFormed()) {
        return "the file is empty";
    }
    return {};
}
