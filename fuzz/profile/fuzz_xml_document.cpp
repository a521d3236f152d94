#include "model/CXmlDocument.h"
#include "model/TextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// Walks every element reachable by navigation, reading attributes on the way.
void walk(CXmlDocument& xml, int depth, long& budget) {
    while (budget-- > 0 && xml.findElement(u"")) {
        xml.getAttribute(u"a");
        xml.getAttribute(u"ID");
        if (depth < 64 && xml.enterElement()) {
            walk(xml, depth + 1, budget);
            check(xml.leaveElement());
        }
    }
}

} // namespace

// The first byte chooses the flags and how the rest becomes text (UTF-8 or
// raw UTF-16 units); then the document is parsed, walked, edited and parsed again.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::uint8_t mode = data[0];
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    std::u16string text;
    if ((mode & 1) != 0) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 static_cast<unsigned char>(bytes[i + 1]) << 8));
        }
    } else {
        text = utf8ToUtf16(bytes);
    }

    CXmlDocument xml;
    xml.setFlags((mode & 2) != 0 ? CXmlDocument::kIgnoreCase : 0);
    xml.setDocument(text);
    check(xml.getResult().size() < 2000);
    long budget = 100000;
    walk(xml, 0, budget);

    // Edits at a few positions: every one must leave a text the index still describes.
    xml.resetPosition();
    if (xml.findElement(u"")) {
        check(xml.setAttribute(u"a", u"<\"&'>"));
        check(xml.getAttribute(u"a") == u"<\"&'>");
        if ((mode & 4) != 0) {
            check(xml.enterElement());
        }
        check(xml.addElement(u"added"));
        check(xml.setAttribute(u"ID", u"7"));
        check(xml.getAttribute(u"ID") == u"7");
        check(xml.addElement(u"second"));
        xml.leaveElement();
        xml.getAttribute(u"a");
    } else {
        check(xml.addElement(u"root"));
        check(xml.getAttribute(u"x").empty());
    }
    std::u16string edited = xml.text();
    CXmlDocument again;
    again.setDocument(edited);
    budget = 100000;
    walk(again, 0, budget);
    return 0;
}
