#include "model/TextFile.h"

#include "model/FileReplacement.h"
#include "model/RegularFile.h"
#include "model/TextEncoding.h"
#include "model/XmlScanner.h"
#include "platform/UniqueFd.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::size_t kHeadSize = 1024;
constexpr unsigned kMarkFlags = 0x01 | 0x04 | 0x80;
constexpr unsigned kPieceFlags = 0x10 | 0x20 | 0x40;
constexpr unsigned kBigEndianFlag = 0x80;

struct ByteOrderMark {
    std::string_view bytes;
    std::u16string_view encoding;
    unsigned flag;
    std::size_t unitSize;
};

// Tried in this order on reading; on writing the first row whose flag is set wins.
constexpr std::array kMarks{
    ByteOrderMark{"\xEF\xBB\xBF", u"UTF-8", 0x04, 1},
    ByteOrderMark{"\xFF\xFE", u"UTF-16LE", 0x01, 2},
    ByteOrderMark{"\xFE\xFF", u"UTF-16BE", 0x80, 2},
};

std::u16string ascii(std::string_view text) {
    return {text.begin(), text.end()};
}

void fileError(XmlResult& result, int error) {
    std::string message = std::strerror(error);
    message = message.substr(0, message.find_first_of("\r\n"));
    std::u16string text = ascii(message);
    result.add({u"file_error", u"msg", text, u"n", error});
}

class File {
public:
    explicit File(int fd) : fd_(fd) {}

    bool ok() const { return static_cast<bool>(fd_); }
    int fd() const { return fd_.get(); }
    // Closes now; errno tells why on false.
    bool close() { return fd_.close(); }

    bool readUpTo(std::size_t count, std::string& out) {
        std::size_t begin = out.size();
        out.resize(begin + count);
        std::size_t got = 0;
        while (got < count) {
            ssize_t n = ::read(fd_.get(), out.data() + begin + got, count - got);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                out.resize(begin + got);
                return false;
            }
            if (n == 0) {
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        out.resize(begin + got);
        return true;
    }

    // The file may be longer than its size said when it was opened.  Reads
    // fill the room reserved for the size first, so that a file that did not
    // grow is never copied into a larger buffer.
    bool readToEnd(std::string& out) {
        constexpr std::size_t kChunk = 1 << 16;
        for (;;) {
            std::size_t before = out.size();
            std::size_t room = out.capacity() - out.size();
            std::size_t want = room > 0 ? std::min(room, kChunk) : kChunk;
            if (!readUpTo(want, out)) {
                return false;
            }
            if (out.size() - before < want) {
                return true;
            }
        }
    }

private:
    UniqueFd fd_;
};

std::size_t removeZeroUnits(std::string& bytes, std::size_t unitSize) {
    if (unitSize == 1) {
        std::size_t before = bytes.size();
        bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
        return before - bytes.size();
    }
    std::size_t kept = 0;
    std::size_t units = bytes.size() / unitSize;
    for (std::size_t i = 0; i < units; ++i) {
        bool zero = true;
        for (std::size_t b = 0; b < unitSize; ++b) {
            zero = zero && bytes[i * unitSize + b] == '\0';
        }
        if (!zero) {
            for (std::size_t b = 0; b < unitSize; ++b) {
                bytes[kept * unitSize + b] = bytes[i * unitSize + b];
            }
            ++kept;
        }
    }
    bytes.resize(kept * unitSize);
    return units - kept;
}

std::u16string unitsOf(std::string_view bytes, bool bigEndian) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        auto first = static_cast<unsigned char>(bytes[2 * i]);
        auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return units;
}

std::string bytesOf(std::u16string_view units, bool bigEndian) {
    std::string bytes(units.size() * 2, '\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        auto high = static_cast<char>(units[i] >> 8);
        auto low = static_cast<char>(units[i] & 0xFF);
        bytes[2 * i] = bigEndian ? high : low;
        bytes[2 * i + 1] = bigEndian ? low : high;
    }
    return bytes;
}

template <class Char>
bool sameName(XmlTextView<Char> name, std::u16string_view wanted) {
    return xmlNamesEqual(name, wanted, true);
}

template <class Char>
std::u16string wide(XmlTextView<Char> text) {
    return std::u16string(text.begin(), text.end());
}

template <class Char>
std::u16string charsetOf(XmlTextView<Char> content) {
    for (std::size_t at = 0; at + 7 <= content.size(); ++at) {
        if (!sameName(content.substr(at, 7), u"charset")) {
            continue;
        }
        std::size_t i = at + 7;
        while (i < content.size() && isXmlWhiteSpace(xmlUnit(content[i]))) {
            ++i;
        }
        if (i >= content.size() || content[i] != Char('=')) {
            continue;
        }
        ++i;
        while (i < content.size() && isXmlWhiteSpace(xmlUnit(content[i]))) {
            ++i;
        }
        std::size_t end = i;
        while (end < content.size() && !isXmlWhiteSpace(xmlUnit(content[end])) && content[end] != Char(';') &&
               content[end] != Char('"') && content[end] != Char('\'')) {
            ++end;
        }
        return wide(content.substr(i, end - i));
    }
    return {};
}

template <class Char>
bool findAttribute(XmlTextView<Char> text, const XmlNode& node, std::size_t nameOffset,
                   std::u16string_view name, XmlTextView<Char>& value) {
    BasicXmlAttributeReader<Char> reader(text, node.start + nameOffset, node.start + node.length);
    BasicXmlAttributeToken<Char> token;
    while (reader.next(token)) {
        if (sameName(token.name, name)) {
            value = token.value;
            return true;
        }
    }
    return false;
}

// A text as UTF-16: its own units, or a widened copy of an ASCII text.
class Utf16Of {
public:
    explicit Utf16Of(const XmlText& text) {
        text.visit([&](auto view) {
            if constexpr (std::is_same_v<decltype(view), std::u16string_view>) {
                view_ = view;
            } else {
                copy_.assign(view.begin(), view.end());
                view_ = copy_;
            }
        });
    }
    std::u16string_view view() const { return view_; }

private:
    std::u16string copy_;
    std::u16string_view view_;
};

} // namespace

template <class Char>
std::u16string detectDeclaredEncoding(XmlTextView<Char> text) {
    XmlResult ignored;
    bool sawStartTag = false;
    for (std::size_t pos = 0; pos < text.size();) {
        XmlNode node = scanXmlNode(text, pos, ignored);
        pos = node.start + std::max<std::size_t>(node.length, 1);
        XmlTextView<Char> value;
        switch (node.kind) {
        case XmlNodeKind::ProcessingInstruction: {
            BasicXmlAttributeReader<Char> reader(text, node.start + 2, node.start + node.length);
            if (node.start == 0 && sameName(reader.elementName(), u"xml")) {
                return findAttribute(text, node, 2, u"encoding", value) ? wide(value) : u"";
            }
            break;
        }
        case XmlNodeKind::StartTag:
        case XmlNodeKind::EmptyElementTag: {
            BasicXmlAttributeReader<Char> reader(text, node.start + 1, node.start + node.length);
            if (!sawStartTag) {
                sawStartTag = true;
                if (!sameName(reader.elementName(), u"html")) {
                    return {};
                }
            } else if (sameName(reader.elementName(), u"meta") &&
                       findAttribute(text, node, 1, u"http-equiv", value) &&
                       sameName(value, u"Content-Type")) {
                // The first such meta decides, even when it names no charset.
                XmlTextView<Char> content;
                findAttribute(text, node, 1, u"content", content);
                return charsetOf(content);
            }
            break;
        }
        case XmlNodeKind::EndTag:
            if (sameName(text.substr(node.start + 2, xmlNameEnd(text, node.start + 2) - node.start - 2),
                         u"head")) {
                return {};
            }
            break;
        default:
            break;
        }
    }
    return {};
}

template std::u16string detectDeclaredEncoding<char>(XmlTextView<char>);
template std::u16string detectDeclaredEncoding<char16_t>(XmlTextView<char16_t>);

bool readTextFile(const std::string& path, std::u16string& text, unsigned& flags, XmlResult& result) {
    XmlText read;
    const bool ok = readTextFile(path, read, flags, result);
    text = read.toUtf16();
    return ok;
}

bool readTextFile(const std::string& path, XmlText& text, unsigned& flags, XmlResult& result) {
    result.clear();
    text.clear();
    // Only plain files: a device or a pipe could feed bytes without end, or
    // none at all.
    struct stat info {};
    File file(OpenRegularFile(path, info));
    if (!file.ok()) {
        fileError(result, errno);
        return false;
    }
    std::string bytes;
    if (info.st_size == 0) {
        flags &= ~(kMarkFlags | kPieceFlags);
        result.add({u"read", u"encoding", u"", u"length", 0});
        file.close();
        return true;
    }
    bytes.reserve(static_cast<std::size_t>(info.st_size) + 1);
    if (!file.readUpTo(kHeadSize, bytes)) {
        fileError(result, errno);
        return false;
    }

    flags &= ~kMarkFlags;
    const ByteOrderMark* mark = nullptr;
    for (const ByteOrderMark& row : kMarks) {
        if (std::string_view(bytes).starts_with(row.bytes)) {
            mark = &row;
            break;
        }
    }
    std::u16string encoding;
    std::size_t unitSize = 1;
    if (mark) {
        flags |= mark->flag;
        encoding = mark->encoding;
        unitSize = mark->unitSize;
        bytes.erase(0, mark->bytes.size());
        result.add({u"bom"});
    } else {
        encoding = detectDeclaredEncoding(utf8ToUtf16(bytes));
        if (encoding.empty() && !bytes.empty() && bytes[0] == '<') {
            encoding = u"UTF-8";
        }
    }

    if (!file.readToEnd(bytes)) {
        fileError(result, errno);
        return false;
    }
    auto unitsRead = static_cast<long long>(bytes.size() / unitSize);
    std::size_t readEntry = result.add({u"read", u"encoding", encoding, u"length", unitsRead});
    if (std::size_t dropped = removeZeroUnits(bytes, unitSize)) {
        result.add({u"nulls_removed", {}, {}, u"count", static_cast<long long>(dropped)});
    }

    if (unitSize == 2) {
        bool bigEndian = (flags & kBigEndianFlag) != 0;
        text.assignUtf16(unitsOf(bytes, bigEndian));
        if (bigEndian) {
            result.add({u"endian_swap"});
        }
    } else {
        if (encoding.empty()) {
            if (checkUtf8(bytes).valid) {
                encoding = u"UTF-8";
                result.replace(readEntry, {u"read", u"encoding", encoding, u"length", unitsRead});
            }
            result.add({u"utf8_detection"});
        }
        const int codePage = codePageOfName(encoding);
        if (codePage == kCodePageUtf8 && isAscii(bytes)) {
            text.assignAscii(std::move(bytes));
        } else {
            bool lost = false;
            text.assignUtf16(decodeText(codePage, bytes, lost));
        }
        result.add({u"converted_to", u"encoding", u"UTF-16", u"length", static_cast<long long>(text.size())});
    }

    if (!file.close()) {
        fileError(result, errno);
    }
    flags &= ~kPieceFlags;
    return true;
}

bool writeTextFile(const std::string& path, std::u16string_view text, unsigned& flags, XmlResult& result) {
    XmlText written;
    written.assign(text);
    return writeTextFile(path, written, flags, result);
}

bool writeTextFile(const std::string& path, const XmlText& text, unsigned& flags, XmlResult& result) {
    result.clear();
    // Nothing reaches the target until the whole text is ready: it keeps its
    // old content if anything fails on the way.
    FileReplacement file(path);
    if (!file.ok()) {
        fileError(result, file.error());
        return false;
    }

    std::u16string encoding;
    std::size_t unitSize = 1;
    for (const ByteOrderMark& row : kMarks) {
        if ((flags & row.flag) != 0) {
            file.append(row.bytes);
            encoding = row.encoding;
            unitSize = row.unitSize;
            result.add({u"bom"});
            break;
        }
    }
    if (encoding.empty() && !text.empty()) {
        encoding = text.visit([](auto view) { return detectDeclaredEncoding(view); });
        if (encoding.empty()) {
            encoding = u"UTF-8";
        }
    }

    long long written = 0;
    if (text.empty()) {
        written = 0;
    } else if (unitSize == 2) {
        bool bigEndian = (flags & kBigEndianFlag) != 0 && (flags & 0x01) == 0;
        if (bigEndian) {
            result.add({u"endian_swap"});
        }
        file.append(bytesOf(Utf16Of(text).view(), bigEndian));
        written = static_cast<long long>(text.size());
    } else {
        const int codePage = codePageOfName(encoding);
        bool lost = false;
        if (!text.isWide() && codePage == kCodePageUtf8) {
            // ASCII is its own UTF-8: the text goes out as it stands.
            text.visit([&](auto view) {
                if constexpr (std::is_same_v<decltype(view), std::string_view>) {
                    file.appendBorrowed(view);
                }
            });
            written = static_cast<long long>(text.size());
        } else {
            std::string bytes = encodeText(codePage, Utf16Of(text).view(), lost);
            written = static_cast<long long>(bytes.size());
            file.append(std::move(bytes));
        }
        result.add(
            {u"converted_from", u"encoding", u"UTF-16", u"length", static_cast<long long>(text.size())});
        if (lost) {
            result.add({u"conversion_loss"});
        }
    }

    flags &= ~kPieceFlags;
    if (!file.commit()) {
        fileError(result, file.error());
        return false;
    }
    result.add({u"write", u"encoding", encoding, u"length", written});
    return true;
}
