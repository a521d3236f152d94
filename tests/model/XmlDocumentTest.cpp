#include "model/CXmlDocument.h"

#include "model/TextEncoding.h"
#include "model/XmlEntities.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <set>
#include <vector>

namespace {

std::string narrow(std::u16string_view text) {
    return utf16ToUtf8(text);
}

constexpr std::u16string_view kDeclaration = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

struct ParseCase {
    const char* label;
    std::u16string text;
    bool wellFormed;
    std::u16string result;
};

void PrintTo(const ParseCase& c, std::ostream* out) {
    *out << c.label;
}

class XmlParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(XmlParse, ReportsEachProblem) {
    const ParseCase& c = GetParam();
    CXmlDocument xml;
    EXPECT_EQ(xml.setDocument(c.text), c.wellFormed);
    EXPECT_EQ(xml.isWellFormed(), c.wellFormed);
    EXPECT_EQ(narrow(xml.getResult()), narrow(c.result));
}

const ParseCase kParseCases[] = {
    {"nested", u"<a x='1'><b/><c></c></a>", true, u""},
    {"markup that makes no elements",
     u"<!DOCTYPE a [<!ELEMENT a ANY>]><a><!-- <b> --><![CDATA[<c>]]><?pi <d>?></a>", true, u""},
    {"quoted > inside a value", u"<a b=\"1>2\"/>", true, u""},
    {"empty text", u"", false, u""},
    {"declaration only", std::u16string(kDeclaration), false, u"<no_root_element/>"},
    {"two roots", u"<a/><b/>", false, u"<root_has_sibling/>"},
    {"unended child", u"<a><b></a>", true, u"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>"},
    // Open elements are closed from the innermost out; closing a moves b up beside it.
    {"unended at the end", u"<a><b>", false,
     u"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>"
     u"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"6\"/><root_has_sibling/>"},
    {"two unended before an end tag", u"<r><a><b></r>", true,
     u"<unended_start_tag tagname=\"b\" offset=\"6\" offset2=\"9\"/>"
     u"<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"9\"/>"},
    {"lone end tag", u"<a></b></a>", false, u"<lone_end_tag tagname=\"b\" offset=\"3\"/>"},
    {"first tag", u"<a><1/></a>", false, u"<first_tag_syntax offset=\"3\"/>"},
    {"exclamation tag", u"<a><!x></a>", false, u"<exclamation_tag_syntax offset=\"3\"/>"},
    {"comment tag", u"<a><!-x></a>", false, u"<comment_tag_syntax offset=\"3\"/>"},
    {"cdata section", u"<a><![x></a>", false, u"<cdata_section_syntax offset=\"3\"/>"},
    {"doctype subset", u"<!DOCTYPE a [<!x>]><a/>", false, u"<doctype_tag_syntax offset=\"13\"/>"},
    {"unterminated start tag", u"<a b=\"x>", false,
     u"<unterminated_tag_syntax type=\"start_tag\" offset=\"0\"/><no_root_element/>"},
    {"unterminated end tag", u"<a></a", false,
     u"<unterminated_tag_syntax type=\"end_tag\" offset=\"3\"/>"
     u"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"6\"/>"},
    {"unterminated comment", u"<a/><!-- x", false,
     u"<unterminated_tag_syntax type=\"comment\" offset=\"4\"/>"},
    {"unterminated cdata", u"<a/><![CDATA[x", false,
     u"<unterminated_tag_syntax type=\"cdata_section\" offset=\"4\"/>"},
    {"unterminated instruction", u"<a/><?pi", false,
     u"<unterminated_tag_syntax type=\"processing_instruction\" offset=\"4\"/>"},
    {"unterminated doctype", u"<!DOCTYPE a [", false,
     u"<unterminated_tag_syntax type=\"document_type\" offset=\"0\"/><no_root_element/>"},
    {"lone <", u"<a/><", false, u"<unterminated_tag_syntax type=\"tag\" offset=\"4\"/>"},
};

INSTANTIATE_TEST_SUITE_P(Documents, XmlParse, ::testing::ValuesIn(kParseCases));

TEST(XmlNavigation, FindEnterLeave) {
    CXmlDocument xml;
    ASSERT_TRUE(xml.setDocument(u"<r><item n='1'/><itemx n='x'/><item n='2'><sub n='s'/></item></r>"));
    EXPECT_FALSE(xml.enterElement()); // no current element yet
    EXPECT_FALSE(xml.leaveElement());
    ASSERT_TRUE(xml.findElement(u"r"));
    ASSERT_TRUE(xml.enterElement());
    EXPECT_FALSE(xml.findElement(u"ite")); // a prefix is not a match
    ASSERT_TRUE(xml.findElement(u"item"));
    EXPECT_EQ(narrow(xml.getAttribute(u"n")), "1");
    ASSERT_TRUE(xml.findElement(u"item")); // continues after the current element
    EXPECT_EQ(narrow(xml.getAttribute(u"n")), "2");
    ASSERT_TRUE(xml.enterElement());
    ASSERT_TRUE(xml.findElement(u""));
    EXPECT_EQ(narrow(xml.getAttribute(u"n")), "s");
    ASSERT_TRUE(xml.leaveElement());
    EXPECT_EQ(narrow(xml.getAttribute(u"n")), "2");
    ASSERT_TRUE(xml.enterElement()); // back to the child that was current
    EXPECT_EQ(narrow(xml.getAttribute(u"n")), "s");
    EXPECT_FALSE(xml.findElement(u"item"));
    EXPECT_EQ(narrow(xml.getAttribute(u"n")), "s"); // a failed find changes nothing
    xml.resetPosition();
    EXPECT_TRUE(xml.getAttribute(u"n").empty());
}

TEST(XmlNavigation, SecondRootIsStillReachable) {
    CXmlDocument xml;
    EXPECT_FALSE(xml.setDocument(u"<a/><b v='2'/>"));
    ASSERT_TRUE(xml.findElement(u"b"));
    EXPECT_EQ(narrow(xml.getAttribute(u"v")), "2");
}

TEST(XmlNavigation, ImplicitlyClosedChildrenBecomeSiblings) {
    CXmlDocument xml;
    xml.setDocument(u"<r><a><b><c/><d/></r>");
    ASSERT_TRUE(xml.findElement(u"r"));
    ASSERT_TRUE(xml.enterElement());
    // Every one of them is now a childless child of r, in text order.
    for (const char16_t* name : {u"a", u"b", u"c", u"d"}) {
        ASSERT_TRUE(xml.findElement(name)) << narrow(name);
        ASSERT_TRUE(xml.enterElement());
        EXPECT_FALSE(xml.findElement(u"")) << narrow(name);
        ASSERT_TRUE(xml.leaveElement());
    }
}

TEST(XmlNavigation, ImplicitlyClosedElementsLeadBackToTheirNewParent) {
    CXmlDocument xml;
    xml.setDocument(u"<r><a><b><c><d/></r><z/>");
    ASSERT_TRUE(xml.findElement(u"r"));
    ASSERT_TRUE(xml.enterElement());
    // d was moved up three levels at once: leaving it must come back to r.
    ASSERT_TRUE(xml.findElement(u"d"));
    ASSERT_TRUE(xml.leaveElement());
    EXPECT_EQ(narrow(xml.currentElementName()), "r");
    EXPECT_TRUE(xml.findElement(u"z"));
}

// Every unclosed tag used to move all the children gathered so far one level
// up: 80,000 of them took seconds.  The bound is far above a linear parse
// even in a sanitizer build, and far below the quadratic one.
TEST(XmlParseTime, RunsOfUnclosedTagsParseInLinearTime) {
    constexpr int kTags = 200000;
    struct Row {
        const char* label;
        std::u16string_view repeated;
        std::u16string_view tail;
        bool wellFormed;
    };
    for (const Row& row : {Row{"unclosed to the end", u"<a>", u"", false},
                           Row{"closed by the root's end tag", u"<a><b>", u"</Zarn>", true}}) {
        std::u16string text = u"<Zarn>";
        text.reserve(6 + kTags * row.repeated.size() + row.tail.size());
        for (int i = 0; i < kTags; ++i) {
            text += row.repeated;
        }
        text += row.tail;
        CXmlDocument xml;
        const auto started = std::chrono::steady_clock::now();
        // Implicitly closed elements do not make a document ill formed: only
        // a root with siblings does.
        EXPECT_EQ(xml.setDocument(text), row.wellFormed) << row.label;
        const auto took = std::chrono::steady_clock::now() - started;
        EXPECT_LT(took, std::chrono::seconds(5)) << row.label;
        // All of them end up side by side: the last one is a sibling, not a descendant.
        xml.resetPosition();
        if (row.wellFormed) {
            ASSERT_TRUE(xml.findElement(u"Zarn"));
            ASSERT_TRUE(xml.enterElement());
        }
        int found = 0;
        while (xml.findElement(row.wellFormed ? u"b" : u"a")) {
            ++found;
        }
        EXPECT_EQ(found, kTags) << row.label;
    }
}

TEST(XmlNavigation, IgnoreCaseFlag) {
    CXmlDocument xml;
    xml.setFlags(CXmlDocument::kIgnoreCase);
    EXPECT_TRUE(xml.setDocument(u"<Root A='1'></ROOT>"));
    ASSERT_TRUE(xml.findElement(u"rOOt"));
    EXPECT_EQ(narrow(xml.getAttribute(u"a")), "1");
}

TEST(XmlAttributes, ReadingForms) {
    CXmlDocument xml;
    xml.setDocument(u"<a one=\"1\" two='2' three=3 four five = \"5\" six=six/>");
    ASSERT_TRUE(xml.findElement(u"a"));
    EXPECT_EQ(narrow(xml.getAttribute(u"one")), "1");
    EXPECT_EQ(narrow(xml.getAttribute(u"two")), "2");
    EXPECT_EQ(narrow(xml.getAttribute(u"three")), "3");
    EXPECT_EQ(narrow(xml.getAttribute(u"four")), "four");
    EXPECT_EQ(narrow(xml.getAttribute(u"five")), "5");
    EXPECT_EQ(narrow(xml.getAttribute(u"six")), "six/"); // the slash belongs to an unquoted value
    EXPECT_EQ(narrow(xml.getAttribute(u"seven")), "");
}

TEST(XmlAttributes, Unescaping) {
    struct Row {
        std::u16string escaped;
        std::u16string plain;
    };
    const Row rows[] = {
        {u"&#65;&#x42;&#X43;", u"ABC"},
        {u"&#x1F600;", u"\U0001F600"},
        {u"&lt;&GT;&Amp;&quot;&apos;", u"<>&\"'"},
        {u"&Omega;&omega;&OMEGA;", u"\u03a9\u03a9\u03a9"}, // the capitalised name decides
        {u"&rarr;", u"\u21d2"},
        {u"&euro;&nbsp;", u"\u20ac\u00a0"},
        {u"&nosuch;", u"&nosuch;"},
        {u"&abcdefghij;", u"&abcdefghij;"}, // longer than nine characters
        {u"&#0;&#x110000;&#;&#x;&#1a;", u"&#0;&#x110000;&#;&#x;&#1a;"},
        {u"&\u00e9;", u"&\u00e9;"},
        {u"a & b &&amp;", u"a & b &&"},
        {u"&amp", u"&amp"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(narrow(unescapeXml(row.escaped)), narrow(row.plain)) << narrow(row.escaped);
    }
}

TEST(XmlEntities, EveryNameResolves) {
    std::set<std::string_view> names;
    for (const XmlEntity& entity : xmlEntities()) {
        names.insert(entity.name);
        EXPECT_NE(lookupXmlEntity(entity.name), 0u) << entity.name;
    }
    EXPECT_EQ(names.size(), 253u);
    EXPECT_EQ(lookupXmlEntity("apos"), U'\'');
    EXPECT_EQ(lookupXmlEntity("thetasym"), U'\u03d1');
    EXPECT_EQ(lookupXmlEntity("yuml"), U'\u0178'); // Yuml is the capitalised twin
}

TEST(XmlAttributes, SetAttributeEscapesAndRoundTrips) {
    CXmlDocument xml;
    xml.setDocument(u"<a/>");
    ASSERT_TRUE(xml.findElement(u"a"));
    ASSERT_TRUE(xml.setAttribute(u"v", u"\"&'<>"));
    ASSERT_TRUE(xml.setAttribute(u"w", u"&amp;"));
    EXPECT_EQ(narrow(xml.text()), "<a v=\"&quot;&amp;&apos;&lt;&gt;\" w=\"&amp;amp;\"/>");
    EXPECT_EQ(narrow(xml.getAttribute(u"v")), "\"&'<>");
    EXPECT_EQ(narrow(xml.getAttribute(u"w")), "&amp;");
    ASSERT_TRUE(xml.setAttribute(u"v", u"x")); // replaces in place, keeps the order
    EXPECT_EQ(narrow(xml.text()), "<a v=\"x\" w=\"&amp;amp;\"/>");
    EXPECT_TRUE(xml.setDocument(xml.text()));
}

TEST(XmlAttributes, ReplacingUnquotedAndBareValues) {
    CXmlDocument xml;
    xml.setDocument(u"<a b=1 c><d/></a>");
    ASSERT_TRUE(xml.findElement(u"a"));
    ASSERT_TRUE(xml.setAttribute(u"b", u"22"));
    ASSERT_TRUE(xml.setAttribute(u"c", u"3"));
    EXPECT_EQ(narrow(xml.text()), "<a b=\"22\" c=\"3\"><d/></a>");
    ASSERT_TRUE(xml.enterElement());
    ASSERT_TRUE(xml.findElement(u"d")); // the child moved with the longer start tag
    ASSERT_TRUE(xml.setAttribute(u"e", u"5"));
    EXPECT_EQ(narrow(xml.text()), "<a b=\"22\" c=\"3\"><d e=\"5\"/></a>");
}

TEST(XmlAttributes, NewAttributesStayReadableAfterMalformedOnes) {
    struct Row {
        std::u16string text;
        std::u16string edited;
    };
    const Row rows[] = {
        {u"<a b=>", u"<a b=\"\" c=\"1\">"},         // "b=" would swallow the new attribute
        {u"<a =\"x y\">", u"<a c=\"1\" =\"x y\">"}, // a nameless value is skipped whole
        {u"<a = b=\"x\">", u"<a c=\"1\" = b=\"x\">"},
    };
    for (const Row& row : rows) {
        CXmlDocument xml;
        xml.setDocument(row.text);
        ASSERT_TRUE(xml.findElement(u"a"));
        ASSERT_TRUE(xml.setAttribute(u"c", u"1"));
        EXPECT_EQ(narrow(xml.text()), narrow(row.edited));
        EXPECT_EQ(narrow(xml.getAttribute(u"c")), "1");
    }
}

TEST(XmlEditing, WritesOneElementPerLine) {
    CXmlDocument xml;
    EXPECT_FALSE(xml.setDocument(kDeclaration));
    EXPECT_EQ(narrow(xml.getResult()), "<no_root_element/>");
    ASSERT_TRUE(xml.addElement(u"root"));
    ASSERT_TRUE(xml.enterElement());
    ASSERT_TRUE(xml.addElement(u"a"));
    ASSERT_TRUE(xml.addElement(u"b"));
    ASSERT_TRUE(xml.setAttribute(u"k", u"first"));
    ASSERT_TRUE(xml.setAttribute(u"k", u"v")); // a second value replaces the first
    EXPECT_EQ(narrow(xml.text()),
              narrow(std::u16string(kDeclaration) + u"<root>\r\n<a/>\r\n<b k=\"v\"/>\r\n</root>\r\n"));
    EXPECT_TRUE(xml.setDocument(xml.text()));
}

TEST(XmlEditing, AddingToAnEmptyElementOpensIt) {
    CXmlDocument xml;
    xml.setDocument(u"<r>\r\n<p a=\"1\"/>\r\n<q/>\r\n</r>\r\n");
    ASSERT_TRUE(xml.findElement(u"r"));
    ASSERT_TRUE(xml.enterElement());
    ASSERT_TRUE(xml.findElement(u"p"));
    ASSERT_TRUE(xml.enterElement());
    ASSERT_TRUE(xml.addElement(u"c"));
    EXPECT_EQ(narrow(xml.text()), "<r>\r\n<p a=\"1\">\r\n<c/>\r\n</p>\r\n<q/>\r\n</r>\r\n");
    // The index follows the splice: later elements and attributes are still found.
    ASSERT_TRUE(xml.setAttribute(u"n", u"2"));
    ASSERT_TRUE(xml.leaveElement());
    EXPECT_EQ(narrow(xml.getAttribute(u"a")), "1");
    ASSERT_TRUE(xml.findElement(u"q"));
    ASSERT_TRUE(xml.setAttribute(u"z", u"9"));
    EXPECT_EQ(narrow(xml.text()), "<r>\r\n<p a=\"1\">\r\n<c n=\"2\"/>\r\n</p>\r\n<q z=\"9\"/>\r\n</r>\r\n");
    EXPECT_TRUE(xml.setDocument(xml.text()));
}

TEST(XmlEditing, InsertingBeforeLaterSiblings) {
    CXmlDocument xml;
    xml.setDocument(u"<r>\r\n<a/>\r\n<c/>\r\n</r>\r\n");
    ASSERT_TRUE(xml.findElement(u"r"));
    ASSERT_TRUE(xml.enterElement());
    ASSERT_TRUE(xml.findElement(u"a"));
    ASSERT_TRUE(xml.addElement(u"b"));
    ASSERT_TRUE(xml.findElement(u"c"));
    ASSERT_TRUE(xml.setAttribute(u"x", u"1"));
    EXPECT_EQ(narrow(xml.text()), "<r>\r\n<a/>\r\n<b/>\r\n<c x=\"1\"/>\r\n</r>\r\n");
    ASSERT_TRUE(xml.leaveElement());
    ASSERT_TRUE(xml.addElement(u"after")); // after the root, at top level
    EXPECT_EQ(narrow(xml.text()), "<r>\r\n<a/>\r\n<b/>\r\n<c x=\"1\"/>\r\n</r>\r\n<after/>\r\n");
}

// Adding an element with its attributes at once must leave exactly what
// adding it and then setting each attribute leaves: the same text, and an
// index that finds and edits the same things afterwards.
TEST(XmlEditing, AddingWithAttributesMatchesSettingThemOneByOne) {
    struct Case {
        const char* what;
        std::u16string_view start; // the document; the new element goes into "p"
        std::u16string_view name;
        std::vector<XmlAttribute> attributes;
    };
    const Case cases[] = {
        {"into an empty element",
         u"<r>\r\n<p/>\r\n<q/>\r\n</r>\r\n",
         u"x",
         {{u"ID", u"0"}, {u"t1", u"A <&> \"B\""}}},
        {"after a child", u"<r>\r\n<p>\r\n<c/>\r\n</p>\r\n</r>\r\n", u"x", {{u"a", u"1"}, {u"b", u""}}},
        {"without attributes", u"<r>\r\n<p/>\r\n</r>\r\n", u"x", {}},
        {"the same name twice", u"<r>\r\n<p/>\r\n</r>\r\n", u"x", {{u"a", u"1"}, {u"a", u"2"}}},
        {"a name with a blank", u"<r>\r\n<p/>\r\n</r>\r\n", u"x y", {{u"a", u"1"}}},
        {"an attribute name with a blank", u"<r>\r\n<p/>\r\n</r>\r\n", u"x", {{u"a b", u"1"}}},
        {"an empty attribute name", u"<r>\r\n<p/>\r\n</r>\r\n", u"x", {{u"", u"1"}}},
    };
    auto positioned = [](std::u16string_view text) {
        auto xml = std::make_unique<CXmlDocument>();
        xml->setDocument(text);
        xml->findElement(u"r");
        xml->enterElement();
        xml->findElement(u"p");
        xml->enterElement();
        xml->findElement(u"c");
        return xml;
    };
    for (const Case& c : cases) {
        auto atOnce = positioned(c.start);
        auto oneByOne = positioned(c.start);
        const bool added = atOnce->addElement(c.name, c.attributes);
        bool expected = oneByOne->addElement(c.name);
        for (const XmlAttribute& attribute : c.attributes) {
            expected = expected && oneByOne->setAttribute(attribute.name, attribute.value);
        }
        EXPECT_EQ(added, expected) << c.what;
        EXPECT_EQ(narrow(atOnce->text()), narrow(oneByOne->text())) << c.what;
        for (CXmlDocument* xml : {atOnce.get(), oneByOne.get()}) {
            xml->setAttribute(u"late", u"9");
            xml->leaveElement();
            xml->findElement(u"q");
            xml->setAttribute(u"z", u"1");
        }
        EXPECT_EQ(narrow(atOnce->text()), narrow(oneByOne->text())) << c.what;
        EXPECT_TRUE(CXmlDocument().setDocument(atOnce->text())) << c.what;
    }
}

TEST(XmlResultCap, StopsAddingEntriesPast999Characters) {
    auto broken = [](int endTags) {
        std::u16string text = u"<a>";
        for (int i = 0; i < endTags; ++i) {
            text += u"</b>";
        }
        CXmlDocument xml;
        xml.setDocument(text + u"</a>");
        return xml.getResult();
    };
    std::u16string some = broken(200);
    EXPECT_GT(some.size(), 999u);
    EXPECT_LT(some.size(), 999u + 50u);
    EXPECT_EQ(some, broken(400));
}

TEST(XmlFiles, SaveAndLoad) {
    ScratchDir dir;
    CXmlDocument xml;
    xml.setDocument(std::u16string(kDeclaration) + u"<a t=\"\u4e2d\"/>\r\n");
    ASSERT_TRUE(xml.saveFile(dir.file("a.xml")));
    EXPECT_EQ(ScratchDir::read(dir.file("a.xml")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a t=\"\xE4\xB8\xAD\"/>\r\n");
    CXmlDocument loaded;
    ASSERT_TRUE(loaded.loadFile(dir.file("a.xml")));
    EXPECT_EQ(narrow(loaded.getResult()),
              "<read encoding=\"UTF-8\" length=\"54\"/><converted_to encoding=\"UTF-16\" length=\"52\"/>");
    ASSERT_TRUE(loaded.findElement(u"a"));
    EXPECT_EQ(narrow(loaded.getAttribute(u"t")), "\xE4\xB8\xAD");
}

TEST(XmlFiles, EmptyFileIsReadButNotScanned) {
    ScratchDir dir;
    CXmlDocument xml;
    ASSERT_TRUE(xml.loadFile(dir.write("empty.xml", "")));
    EXPECT_EQ(narrow(xml.getResult()), "<read encoding=\"\" length=\"0\"/>");
    EXPECT_FALSE(xml.isWellFormed());
}

TEST(XmlFiles, FailedLoadLeavesAnEmptyDocument) {
    ScratchDir dir;
    CXmlDocument xml;
    xml.setDocument(u"<a v=\"1\"/>");
    ASSERT_TRUE(xml.findElement(u"a"));
    EXPECT_FALSE(xml.loadFile(dir.file("absent.xml")));
    EXPECT_EQ(narrow(xml.getResult()), "<file_error msg=\"No such file or directory\" n=\"2\"/>");
    EXPECT_TRUE(xml.text().empty());
    // Nothing of the former document is left to point into the empty text.
    EXPECT_TRUE(xml.getAttribute(u"v").empty());
    EXPECT_FALSE(xml.findElement(u"a"));
    EXPECT_FALSE(xml.isWellFormed());
}

} // namespace
