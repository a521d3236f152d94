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

// One edit or move chosen by the input; every edit must read back.
void apply(CXmlDocument& xml, std::uint8_t op) {
    static const std::u16string kValues[] = {u"v", u"<\"&'>", u"", u"&amp;"};
    const std::u16string& value = kValues[(op >> 4) & 3];
    switch (op & 7) {
    case 0:
        xml.findElement(u"");
        break;
    case 1:
        xml.enterElement();
        break;
    case 2:
        xml.leaveElement();
        break;
    case 3:
        if (xml.addElement((op & 0x40) != 0 ? u"x" : u"List")) {
            check(xml.getAttribute(u"a").empty());
        }
        break;
    case 4:
    case 5:
        if (xml.setAttribute((op & 1) != 0 ? u"ID" : u"a", value)) {
            check(xml.getAttribute((op & 1) != 0 ? u"ID" : u"a") == value);
        }
        break;
    case 6:
        xml.resetPosition();
        break;
    default:
        xml.findElement(u"x");
        break;
    }
}

} // namespace

// Byte 0 chooses the flags and how the document text is made (UTF-8 or raw
// UTF-16 units); byte 1 says how many of the following bytes are edits and
// moves; the rest is the document.  It is parsed, walked, edited and parsed again.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    std::uint8_t mode = data[0];
    std::size_t ops = std::min<std::size_t>(data[1] % 33, size - 2);
    const std::uint8_t* opBytes = data + 2;
    std::string bytes(reinterpret_cast<const char*>(data + 2 + ops), size - 2 - ops);
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

    xml.resetPosition();
    for (std::size_t i = 0; i < ops; ++i) {
        apply(xml, opBytes[i]);
    }
    budget = 100000;
    xml.resetPosition();
    walk(xml, 0, budget);

    CXmlDocument again;
    again.setDocument(xml.text());
    budget = 100000;
    walk(again, 0, budget);
    return 0;
}
