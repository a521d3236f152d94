#include "model/XmlText.h"

#include "model/CXmlDocument.h"
#include "model/TextEncoding.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

std::string narrow(std::u16string_view text) {
    return utf16ToUtf8(text);
}

// One splice, applied to the text and to a plain UTF-16 string alike.
struct Splice {
    std::size_t at;
    std::size_t count;
    std::array<std::u16string_view, 3> pieces;
    bool wideAfter;
};

TEST(XmlText, SplicesAsAPlainUtf16StringWouldAndWidensOnlyForOtherCharacters) {
    const Splice splices[] = {
        {0, 0, {u"<a/>"}, false},
        {2, 1, {u">", u"\r\n", u"</a"}, false}, // several pieces at once
        {3, 0, {u"x=\"1\""}, false},            // in the middle
        {0, 0, {}, false},                      // nothing at all
        {4, 2, {u"\u00e9"}, true},              // the first unit past ASCII widens the text...
        {0, 1, {u"<"}, true},                   // ...for good
        {1, 0, {u"b", u"\U0001F600", u"c"}, true},
        {0, 0, {u"\u4e2d"}, true},
    };
    XmlText text;
    std::u16string expected;
    for (const Splice& splice : splices) {
        expected.replace(splice.at, splice.count,
                         std::u16string(splice.pieces[0]) + std::u16string(splice.pieces[1]) +
                             std::u16string(splice.pieces[2]));
        text.replace(splice.at, splice.count, {splice.pieces[0], splice.pieces[1], splice.pieces[2]});
        EXPECT_EQ(narrow(text.toUtf16()), narrow(expected));
        EXPECT_EQ(text.isWide(), splice.wideAfter) << narrow(expected);
        ASSERT_EQ(text.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(text[i], expected[i]) << i;
        }
    }
}

TEST(XmlText, AssignedTextIsNarrowExactlyWhenItIsAscii) {
    XmlText text;
    text.assign(u"<a b=\"\x7f\"/>");
    EXPECT_FALSE(text.isWide());
    text.assign(u"<a b=\"\x80\"/>");
    EXPECT_TRUE(text.isWide());
    EXPECT_EQ(text[6], u'\x80');
    text.assign(u"<a/>");
    EXPECT_FALSE(text.isWide());
    EXPECT_TRUE(isAscii(std::string_view("0123456789abcdef\x7f")));
    EXPECT_FALSE(isAscii(std::string_view("0123456789abcdef\x80")));
    EXPECT_FALSE(isAscii(std::string_view("\xC3\xA9 at the front of a long run")));
}

// The document reads and edits a text held as UTF-16 exactly as one held as
// ASCII: the same script on both leaves the same text and reads the same
// values.  The comment in front is what makes the second one wide.
TEST(XmlText, DocumentsBehaveTheSameInEitherForm) {
    const std::u16string body = u"<r>\r\n<p a=\"1\"/>\r\n<q b='2' c/>\r\n</r>\r\n";
    for (const std::u16string prefix : {u"", u"<!--\u00e9-->"}) {
        CXmlDocument xml;
        ASSERT_TRUE(xml.setDocument(prefix + body));
        ASSERT_TRUE(xml.findElement(u"r"));
        ASSERT_TRUE(xml.enterElement());
        ASSERT_TRUE(xml.findElement(u"p"));
        EXPECT_EQ(narrow(xml.getAttribute(u"a")), "1");
        ASSERT_TRUE(xml.enterElement());
        const XmlAttribute attributes[] = {{u"ID", u"0"}, {u"t1", u"A <&> \"B\""}};
        ASSERT_TRUE(xml.addElement(u"x", attributes));
        ASSERT_TRUE(xml.leaveElement());
        ASSERT_TRUE(xml.findElement(u"q"));
        EXPECT_EQ(narrow(xml.getAttribute(u"c")), "c");
        ASSERT_TRUE(xml.setAttribute(u"b", u"3"));
        ASSERT_TRUE(xml.setAttribute(u"d", u"4"));
        EXPECT_EQ(narrow(xml.text()),
                  narrow(prefix +
                         u"<r>\r\n<p a=\"1\">\r\n<x ID=\"0\" t1=\"A &lt;&amp;&gt; &quot;B&quot;\"/>\r\n"
                         u"</p>\r\n<q b=\"3\" c d=\"4\"/>\r\n</r>\r\n"))
            << narrow(prefix);
        EXPECT_TRUE(xml.setDocument(xml.text())) << narrow(prefix);
        ASSERT_TRUE(xml.findElement(u"r"));
        ASSERT_TRUE(xml.enterElement());
        ASSERT_TRUE(xml.findElement(u"p"));
        ASSERT_TRUE(xml.enterElement());
        ASSERT_TRUE(xml.findElement(u"x"));
        EXPECT_EQ(narrow(xml.getAttribute(u"t1")), "A <&> \"B\"") << narrow(prefix);
    }
}

// A save builds its text as ASCII until the first other character, which may
// come at any point: the index must follow the text across the change.
TEST(XmlText, ADocumentWidenedHalfWayKeepsItsIndex) {
    CXmlDocument xml;
    xml.setDocument(u"<r>\r\n<a n=\"1\"/>\r\n</r>\r\n");
    ASSERT_TRUE(xml.findElement(u"r"));
    ASSERT_TRUE(xml.enterElement());
    ASSERT_TRUE(xml.findElement(u"a"));
    ASSERT_TRUE(xml.setAttribute(u"t", u"\u4e2d"));
    ASSERT_TRUE(xml.addElement(u"b"));
    ASSERT_TRUE(xml.setAttribute(u"m", u"2"));
    EXPECT_EQ(narrow(xml.text()), narrow(u"<r>\r\n<a n=\"1\" t=\"\u4e2d\"/>\r\n<b m=\"2\"/>\r\n</r>\r\n"));
    xml.resetPosition();
    ASSERT_TRUE(xml.findElement(u"r"));
    ASSERT_TRUE(xml.enterElement());
    ASSERT_TRUE(xml.findElement(u"a"));
    EXPECT_EQ(narrow(xml.getAttribute(u"t")), "\xE4\xB8\xAD");
    ASSERT_TRUE(xml.findElement(u"b"));
    EXPECT_EQ(narrow(xml.getAttribute(u"m")), "2");
}

} // namespace
