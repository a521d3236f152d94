#include "model/TextFile.h"

#include "model/EncodingNames.h"
#include "model/TextEncoding.h"
#include "platform/CodePageConverter.h"
#include "tests/model/ScopedLocale.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <ostream>
#include <set>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

std::string narrow(std::u16string_view text) {
    return utf16ToUtf8(text);
}

struct ReadCase {
    const char* label;
    std::string bytes;
    std::u16string text;
    unsigned flags;
    std::u16string result;
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << c.label;
}

class ReadTextFile : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadTextFile, DetectsEncodingAndReportsEachStep) {
    const ReadCase& c = GetParam();
    ScopedLocale ascii("C"); // the default code page is ASCII: unknown bytes become '?'
    ScratchDir dir;
    std::string path = dir.write("in.xml", c.bytes);
    std::u16string text = u"stale";
    unsigned flags = 0x04 | 0x80 | 0x10;
    XmlResult result;
    ASSERT_TRUE(readTextFile(path, text, flags, result));
    EXPECT_EQ(narrow(text), narrow(c.text));
    EXPECT_EQ(flags, c.flags);
    EXPECT_EQ(narrow(result.text()), narrow(c.result));
}

const ReadCase kReadCases[] = {
    {"utf8 mark", "\xEF\xBB\xBF<a>\xC3\xA9</a>", u"<a>\u00e9</a>", 0x04,
     u"<bom/><read encoding=\"UTF-8\" length=\"9\"/><converted_to encoding=\"UTF-16\" length=\"8\"/>"},
    {"utf8 without mark starts with <", "<a>\xC3\xA9</a>", u"<a>\u00e9</a>", 0,
     u"<read encoding=\"UTF-8\" length=\"9\"/><converted_to encoding=\"UTF-16\" length=\"8\"/>"},
    {"declaration in upper case", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>",
     u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\u00e9</a>", 0,
     u"<read encoding=\"ISO-8859-1\" length=\"51\"/><converted_to encoding=\"UTF-16\" length=\"51\"/>"},
    {"declaration in mixed case", "<?XML Version='1.0' ENCODING='Iso-8859-1'?><a>\xE9</a>",
     u"<?XML Version='1.0' ENCODING='Iso-8859-1'?><a>\u00e9</a>", 0,
     u"<read encoding=\"Iso-8859-1\" length=\"51\"/><converted_to encoding=\"UTF-16\" length=\"51\"/>"},
    {"html meta charset",
     "<html><head><meta http-equiv=\"content-type\" content=\"text/html; "
     "charset=windows-1252\"></head>\x80</html>",
     u"<html><head><meta http-equiv=\"content-type\" content=\"text/html; "
     u"charset=windows-1252\"></head>\u20ac</html>",
     0,
     u"<read encoding=\"windows-1252\" length=\"101\"/><converted_to encoding=\"UTF-16\" length=\"101\"/>"},
    {"utf8 by inspection", "h\xC3\xA9", u"h\u00e9", 0,
     u"<read encoding=\"UTF-8\" length=\"3\"/><utf8_detection/><converted_to encoding=\"UTF-16\" "
     u"length=\"2\"/>"},
    // Only a piece read from the middle of a file may end inside a sequence.
    {"utf8 cut off at the end uses the default code page", "h\xC3\xA9\xE4\xB8", u"h????", 0,
     u"<read encoding=\"\" length=\"5\"/><utf8_detection/><converted_to encoding=\"UTF-16\" length=\"5\"/>"},
    {"default code page", "h\xE9llo", u"h?llo", 0,
     u"<read encoding=\"\" length=\"5\"/><utf8_detection/><converted_to encoding=\"UTF-16\" length=\"5\"/>"},
    {"declaration after white space is ignored", " <?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\xE9",
     u" <?xml version=\"1.0\" encoding=\"iso-8859-1\"?>?", 0,
     u"<read encoding=\"\" length=\"45\"/><utf8_detection/><converted_to encoding=\"UTF-16\" "
     u"length=\"45\"/>"},
    {"zero bytes dropped", std::string("a\0b\0\0c", 6), u"abc", 0,
     u"<read encoding=\"UTF-8\" length=\"6\"/><nulls_removed count=\"3\"/><utf8_detection/>"
     u"<converted_to encoding=\"UTF-16\" length=\"3\"/>"},
    {"big endian", std::string("\xFE\xFF\x00<\x00\x61\x4E\x00", 8), u"<a\u4e00", 0x80,
     u"<bom/><read encoding=\"UTF-16BE\" length=\"3\"/><endian_swap/>"},
    {"little endian with a zero unit", std::string("\xFF\xFE<\x00\x00\x00\x61\x00", 8), u"<a", 0x01,
     u"<bom/><read encoding=\"UTF-16LE\" length=\"3\"/><nulls_removed count=\"1\"/>"},
    {"empty file", "", u"", 0, u"<read encoding=\"\" length=\"0\"/>"},
};

INSTANTIATE_TEST_SUITE_P(Files, ReadTextFile, ::testing::ValuesIn(kReadCases));

TEST(ReadTextFileErrors, MissingFileReportsTheSystemError) {
    ScratchDir dir;
    std::u16string text = u"stale";
    unsigned flags = 0;
    XmlResult result;
    EXPECT_FALSE(readTextFile(dir.file("absent.xml"), text, flags, result));
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(narrow(result.text()), "<file_error msg=\"No such file or directory\" n=\"2\"/>");
}

// A FIFO without a writer used to block the open itself, and with it the
// window that asked; every kind of non-file must be refused at once.
TEST(ReadTextFileErrors, AnythingButARegularFileIsRefusedAtOnce) {
    ScratchDir dir;
    const std::string fifo = dir.file("fifo.pro");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Row {
        const char* label;
        std::string path;
        const char* message;
    };
    for (const Row& row : {Row{"folder", dir.file(""), "Is a directory"},
                           Row{"FIFO without a writer", fifo, "Invalid argument"},
                           Row{"endless device", "/dev/zero", "Invalid argument"}}) {
        auto reading = std::async(std::launch::async, [&] {
            std::u16string text = u"stale";
            unsigned flags = 0;
            XmlResult result;
            const bool read = readTextFile(row.path, text, flags, result);
            return std::make_tuple(read, text, narrow(result.text()));
        });
        if (reading.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
            ADD_FAILURE() << row.label << " blocked the read";
            // Give the blocked open its writer, so the test can end.
            ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
        }
        const auto [read, text, result] = reading.get();
        EXPECT_FALSE(read) << row.label;
        EXPECT_TRUE(text.empty()) << row.label;
        EXPECT_NE(result.find(row.message), std::string::npos) << row.label << ": " << result;
    }
}

struct WriteCase {
    const char* label;
    std::u16string text;
    unsigned flags;
    std::string bytes;
    std::u16string result;
};

void PrintTo(const WriteCase& c, std::ostream* out) {
    *out << c.label;
}

class WriteTextFile : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteTextFile, ConvertsToTheDeclaredEncoding) {
    const WriteCase& c = GetParam();
    ScopedLocale ascii("C");
    ScratchDir dir;
    std::string path = dir.file("out.xml");
    unsigned flags = c.flags;
    XmlResult result;
    ASSERT_TRUE(writeTextFile(path, c.text, flags, result));
    EXPECT_EQ(ScratchDir::read(path), c.bytes);
    EXPECT_EQ(narrow(result.text()), narrow(c.result));
}

const WriteCase kWriteCases[] = {
    {"declared utf8", u"<?xml encoding=\"UTF-8\"?><a>\u00e9</a>", 0,
     "<?xml encoding=\"UTF-8\"?><a>\xC3\xA9</a>",
     u"<converted_from encoding=\"UTF-16\" length=\"32\"/><write encoding=\"UTF-8\" length=\"33\"/>"},
    {"no declaration means utf8", u"<a>\U0001F600</a>", 0, "<a>\xF0\x9F\x98\x80</a>",
     u"<converted_from encoding=\"UTF-16\" length=\"9\"/><write encoding=\"UTF-8\" length=\"11\"/>"},
    {"windows-1252 and a lost character", u"<?xml encoding=\"windows-1252\"?>\u20ac\u3042", 0,
     "<?xml encoding=\"windows-1252\"?>\x80?",
     u"<converted_from encoding=\"UTF-16\" length=\"33\"/><conversion_loss/>"
     u"<write encoding=\"windows-1252\" length=\"33\"/>"},
    {"unknown declared encoding uses the default code page", u"<?xml encoding=\"x-nonsense\"?>\u00e9", 0,
     "<?xml encoding=\"x-nonsense\"?>?",
     u"<converted_from encoding=\"UTF-16\" length=\"30\"/><conversion_loss/>"
     u"<write encoding=\"x-nonsense\" length=\"30\"/>"},
    {"utf8 mark", u"<a/>", 0x04, "\xEF\xBB\xBF<a/>",
     u"<bom/><converted_from encoding=\"UTF-16\" length=\"4\"/><write encoding=\"UTF-8\" length=\"4\"/>"},
    {"big endian", u"<a/>", 0x80, std::string("\xFE\xFF\0<\0a\0/\0>", 10),
     u"<bom/><endian_swap/><write encoding=\"UTF-16BE\" length=\"4\"/>"},
    {"empty text", u"", 0, "", u"<write encoding=\"\" length=\"0\"/>"},
};

INSTANTIATE_TEST_SUITE_P(Files, WriteTextFile, ::testing::ValuesIn(kWriteCases));

TEST(WriteTextFileErrors, UncreatableFileFails) {
    ScratchDir dir;
    unsigned flags = 0;
    XmlResult result;
    EXPECT_FALSE(writeTextFile(dir.file("no/such/folder.xml"), u"<a/>", flags, result));
    EXPECT_EQ(narrow(result.text()), "<file_error msg=\"No such file or directory\" n=\"2\"/>");
}

TEST(EncodingNames, TableHoldsEveryNameOnce) {
    std::set<std::string_view> names;
    std::set<int> pages;
    for (const EncodingName& row : encodingNames()) {
        names.insert(row.name);
        pages.insert(row.codePage);
    }
    EXPECT_EQ(names.size(), 365u);
    EXPECT_EQ(pages.size(), 110u);
}

TEST(EncodingNames, Lookup) {
    struct Row {
        std::u16string name;
        int codePage;
    };
    const Row rows[] = {
        {u"", 0},
        {u"UTF-8", 65001},
        {u"utf-32", 12000},
        {u"UTF-32", 65005},
        {u"UTF-32BE", 65005},
        {u"Utf-32", 12000},
        {u"cp1256 ", 1256},
        {u"SHIFT_JIS", 932},
        {u"cp500", 775},
        {u"x-nonsense", -1},
        {u"\u00e9", -1},
        {std::u16string(99, u'a'), -1},
        {u"iso-8859-1" + std::u16string(90, u' '), -1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(codePageOfName(row.name), row.codePage) << narrow(row.name);
    }
}

TEST(CodePages, EveryPageWithABackendOpens) {
    for (const EncodingName& row : encodingNames()) {
        if (codePageBackend(row.codePage) != CodePageBackend::LocaleDefault) {
            EXPECT_TRUE(codePageAvailable(row.codePage)) << row.codePage;
        }
    }
}

TEST(CodePages, DecodeCharacteristicBytes) {
    struct Row {
        int codePage;
        std::string bytes;
        std::u16string text;
    };
    const Row rows[] = {
        {1252, "\x80", u"\u20ac"},           {949, "\xB0\xA1", u"\uac00"},
        {950, "\xA4\x40", u"\u4e00"},        {932, "\x82\xA0", u"\u3042"},
        {936, "\xD6\xD0", u"\u4e2d"},        {866, "\x80", u"\u0410"},
        {10000, "\x80", u"\u00c4"},          {10079, "\x80", u"\u00c4"},
        {28605, "\xA4", u"\u20ac"},          {54936, "\x81\x30\x81\x30", u"\u0080"},
        {1201, std::string("\0A", 2), u"A"}, {65005, std::string("\x00\xF6\x01\x00", 4), u"\U0001F600"},
    };
    for (const Row& row : rows) {
        bool lost = false;
        EXPECT_EQ(narrow(decodeText(row.codePage, row.bytes, lost)), narrow(row.text)) << row.codePage;
        EXPECT_FALSE(lost) << row.codePage;
    }
}

TEST(CodePages, EncodeThroughEachBackend) {
    struct Row {
        int codePage;
        std::u16string text;
        std::string bytes;
        bool lost;
    };
    const Row rows[] = {
        {1252, u"\u20ac", "\x80", false},
        {1252, u"a\u3042z", "a?z", true},
        {10079, u"\u00c4", "\x80", false},            // iconv
        {10079, u"a\u3042z", "a?z", true},            // iconv, with a lost character
        {50220, u"\u3042", "\x1B$B$\"\x1B(B", false}, // stateful: escapes around the character
        {50220, u"\u0e01", "?", false},               // lost, but ISO-2022 never says so
        {65001, u"\U0001F600", "\xF0\x9F\x98\x80", false},
        {1201, u"A", std::string("\0A", 2), false},
    };
    for (const Row& row : rows) {
        bool lost = false;
        EXPECT_EQ(encodeText(row.codePage, row.text, lost), row.bytes) << row.codePage;
        EXPECT_EQ(lost, row.lost) << row.codePage;
    }
}

TEST(CodePages, UnconvertibleCharactersBecomeQuestionMarks) {
    bool lost = false;
    EXPECT_EQ(decodeText(20127, "a\x80z", lost), u"a?z");
    EXPECT_TRUE(lost);
    lost = false;
    EXPECT_EQ(encodeText(1252, u"a\u3042z", lost), "a?z");
    EXPECT_TRUE(lost);
    // ISO-2022 converters never report a loss.
    lost = false;
    encodeText(50220, u"\u0e01", lost);
    EXPECT_FALSE(lost);
}

TEST(Unicode, StraySurrogatesDoNotSwallowTheNextCharacter) {
    EXPECT_EQ(utf16ToUtf8(u"\xD800"
                          u"A"),
              "?A");
    EXPECT_EQ(utf16ToUtf8(u"A\xDC00"), "A?");
    EXPECT_EQ(utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(utf8ToUtf16("a\xE2\x82z\xC0\xAF"), u"a?z??");
    EXPECT_EQ(utf16ToUtf32(u"\U0001F600x"), U"\U0001F600x");
}

// ASCII is converted in runs and blocks: a character that is not ASCII must
// come out right wherever it falls, next to a word or a block boundary.
TEST(Unicode, CharactersAroundTheAsciiRunsConvertBothWays) {
    struct Character {
        std::string utf8;
        std::u16string utf16;
    };
    const Character characters[] = {{"\xC3\xA9", u"\u00E9"},
                                    {"\xE4\xB8\x80", u"\u4E00"},
                                    {"\xF0\x9F\x98\x80", u"\U0001F600"},
                                    {"\xFF", u"?"}};
    for (std::size_t at : {0, 1, 7, 8, 9, 4095, 4096, 4097, 8200}) {
        for (const Character& character : characters) {
            std::string bytes(at, 'a');
            std::u16string units(at, u'a');
            bytes += character.utf8 + std::string(5000, 'z') + character.utf8;
            units += character.utf16 + std::u16string(5000, u'z') + character.utf16;
            EXPECT_EQ(utf8ToUtf16(bytes), units) << "at " << at;
            if (character.utf16 != u"?") {
                EXPECT_EQ(utf16ToUtf8(units), bytes) << "at " << at;
            }
        }
    }
}

TEST(Unicode, Utf8Test) {
    struct Row {
        std::string bytes;
        bool valid;
        bool cutOff;
    };
    const Row rows[] = {
        {"plain", true, false},
        {"\xC3\xA9\xE4\xB8\x80\xF0\x9F\x98\x80", true, false},
        {"\xC3", false, true},
        {"\xE4\xB8", false, true},
        {"\xC3z", false, false},
        {"\xF8\x80\x80\x80", false, false},
        {std::string("ok\0\xFF", 4), true, false},
    };
    for (const Row& row : rows) {
        Utf8Check check = checkUtf8(row.bytes);
        EXPECT_EQ(check.valid, row.valid) << row.bytes;
        EXPECT_EQ(check.cutOff, row.cutOff) << row.bytes;
    }
}

TEST(DeclaredEncoding, StopsWhereTheRulesSay) {
    struct Row {
        std::u16string text;
        std::u16string encoding;
    };
    const Row rows[] = {
        {u"<?xml version=\"1.0\"?><a/>", u""},
        {u"<?xml-stylesheet encoding=\"x\"?>", u""},
        {u"<body><meta http-equiv=\"Content-Type\" content=\"charset=koi8-r\">", u""},
        {u"<html><head></head><meta http-equiv=\"Content-Type\" content=\"charset=koi8-r\">", u""},
        {u"<HTML><META HTTP-EQUIV='CONTENT-TYPE' CONTENT='text/html;CHARSET = koi8-r'/>", u"koi8-r"},
        {u"<html><meta name=\"x\" content=\"charset=cp866\"><meta http-equiv=\"Content-Type\" "
         u"content=\"charset=koi8-r\">",
         u"koi8-r"},
        {u"<html><meta http-equiv=\"Content-Type\" content=\"text/html\">"
         u"<meta http-equiv=\"Content-Type\" content=\"charset=koi8-r\">",
         u""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(narrow(detectDeclaredEncoding(row.text)), narrow(row.encoding)) << narrow(row.text);
    }
}

} // namespace
