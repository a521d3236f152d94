#include "model/TextEncoding.h"

#include "model/EncodingNames.h"
#include "platform/CodePageConverter.h"

#include <algorithm>
#include <array>
#include <span>
#include <type_traits>

namespace {

constexpr std::size_t kLongestName = 100;
// Units converted through a buffer on the stack, small enough to stay in the cache.
constexpr std::size_t kConversionBlock = 4096;

// Targets whose platform converters substitute without saying so.
constexpr std::array kSilentTargets{50220, 50221, 50222, 50225, 50227, 50229, 52936, 54936, 57002, 57003,
                                    57004, 57005, 57006, 57007, 57008, 57009, 57010, 57011, 65000, 65001};

bool reportsLoss(int codePage) {
    return std::find(kSilentTargets.begin(), kSilentTargets.end(), codePage) == kSilentTargets.end();
}

bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
bool isSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

void appendUtf16(std::u16string& out, char32_t codePoint) {
    if (codePoint > 0x10FFFF || isSurrogate(codePoint)) {
        out.push_back(u'?');
    } else if (codePoint > 0xFFFF) {
        codePoint -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(codePoint));
    }
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint <= 0xFFFF) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

// One code point from UTF-16 at i; a surrogate that is not half of a proper
// pair gives '?' and leaves the unit after it alone, so that a stray
// surrogate never swallows the next character.
char32_t nextCodePoint(std::u16string_view text, std::size_t& i) {
    char32_t unit = text[i++];
    if (!isSurrogate(unit)) {
        return unit;
    }
    if (isHighSurrogate(unit) && i < text.size() && isLowSurrogate(text[i])) {
        char32_t low = text[i++];
        return 0x10000 + ((unit & 0x3FF) << 10) + (low & 0x3FF);
    }
    return U'?';
}

// The ASCII run at the start of `bytes`, at most `out`'s size, widened into
// `out`; its length.  Eight units are tested at once where the text allows,
// so the copy itself stays a plain loop the compiler can vectorise.
template <typename Unit, typename Wide>
std::size_t convertAsciiRun(std::basic_string_view<Unit> units, std::span<Wide> out) {
    const std::size_t limit = std::min(units.size(), out.size());
    std::size_t i = 0;
    for (; i + 8 <= limit; i += 8) {
        unsigned any = 0;
        for (std::size_t k = 0; k < 8; ++k) {
            any |= static_cast<std::make_unsigned_t<Unit>>(units[i + k]);
        }
        if (any >= 0x80) {
            break;
        }
        for (std::size_t k = 0; k < 8; ++k) {
            out[i + k] = static_cast<Wide>(static_cast<std::make_unsigned_t<Unit>>(units[i + k]));
        }
    }
    for (; i < limit && static_cast<std::make_unsigned_t<Unit>>(units[i]) < 0x80; ++i) {
        out[i] = static_cast<Wide>(static_cast<std::make_unsigned_t<Unit>>(units[i]));
    }
    return i;
}

struct Utf8Step {
    char32_t codePoint;
    std::size_t length;
};

// Decodes one sequence at i; a malformed one gives '?' and skips the lead
// byte and the continuation bytes that belonged to it.
Utf8Step decodeUtf8At(std::string_view bytes, std::size_t i) {
    auto byte = [&](std::size_t k) {
        return static_cast<unsigned char>(bytes[k]);
    };
    unsigned char lead = byte(i);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t need = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        return {U'?', 1};
    }
    std::size_t k = 1;
    for (; k <= need; ++k) {
        if (i + k >= bytes.size() || (byte(i + k) & 0xC0) != 0x80) {
            return {U'?', k};
        }
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || isSurrogate(value)) {
        return {U'?', k};
    }
    return {value, k};
}

std::u16string decodeUnits16(std::string_view bytes, bool bigEndian, bool& lost) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto first = static_cast<unsigned char>(bytes[2 * i]);
        auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    if (bytes.size() % 2 != 0) {
        lost = true;
        text.push_back(u'?');
    }
    return text;
}

std::string encodeUnits16(std::u16string_view text, bool bigEndian) {
    std::string bytes(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        char high = static_cast<char>(text[i] >> 8);
        char low = static_cast<char>(text[i] & 0xFF);
        bytes[2 * i] = bigEndian ? high : low;
        bytes[2 * i + 1] = bigEndian ? low : high;
    }
    return bytes;
}

// UTF-32 units in the machine's byte order, as the original held them.  The
// length is in 32-bit units: a trailing partial unit becomes '?' instead of
// being read past.
std::u16string decodeUnits32(std::string_view bytes, bool& lost) {
    std::u32string units(bytes.size() / 4, U'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t value = 0;
        for (int b = 3; b >= 0; --b) {
            value = value << 8 | static_cast<unsigned char>(bytes[4 * i + static_cast<std::size_t>(b)]);
        }
        units[i] = value;
    }
    std::u16string text = utf32ToUtf16(units);
    if (bytes.size() % 4 != 0) {
        lost = true;
        text.push_back(u'?');
    }
    return text;
}

std::string encodeUnits32(std::u16string_view text) {
    std::u32string units = utf16ToUtf32(text);
    std::string bytes(units.size() * 4, '\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        for (std::size_t b = 0; b < 4; ++b) {
            bytes[4 * i + b] = static_cast<char>((units[i] >> (8 * b)) & 0xFF);
        }
    }
    return bytes;
}

} // namespace

int codePageOfName(std::u16string_view name) {
    if (name.empty()) {
        return kCodePageDefault;
    }
    if (name.substr(0, 6) == u"UTF-32") {
        return kCodePageUtf32Units;
    }
    if (name.size() >= kLongestName) {
        return kCodePageUnknown;
    }
    std::string lowered;
    for (char16_t c : name) {
        if (c >= 0x80) {
            return kCodePageUnknown; // every name in the table is ASCII
        }
        lowered.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c));
    }
    std::span<const EncodingName> table = encodingNames();
    auto found =
        std::lower_bound(table.begin(), table.end(), std::string_view(lowered),
                         [](const EncodingName& row, std::string_view key) { return row.name < key; });
    if (found == table.end() || found->name != lowered) {
        return kCodePageUnknown;
    }
    return found->codePage;
}

std::u16string decodeText(int codePage, std::string_view bytes, bool& lost) {
    switch (codePage) {
    case kCodePageUtf8:
        return utf8ToUtf16(bytes);
    case kCodePageUtf16:
        return decodeUnits16(bytes, false, lost);
    case kCodePageUtf16Be:
        return decodeUnits16(bytes, true, lost);
    case kCodePageUtf32Units:
        return decodeUnits32(bytes, lost);
    default:
        return decodeCodePage(codePage < 0 ? kCodePageDefault : codePage, bytes, lost);
    }
}

std::string encodeText(int codePage, std::u16string_view text, bool& lost) {
    bool converterLost = false;
    std::string bytes;
    switch (codePage) {
    case kCodePageUtf8:
        bytes = utf16ToUtf8(text);
        break;
    case kCodePageUtf16:
        bytes = encodeUnits16(text, false);
        break;
    case kCodePageUtf16Be:
        bytes = encodeUnits16(text, true);
        break;
    case kCodePageUtf32Units:
        bytes = encodeUnits32(text);
        break;
    default:
        codePage = codePage < 0 ? kCodePageDefault : codePage;
        bytes = encodeCodePage(codePage, text, converterLost);
        break;
    }
    lost = lost || (converterLost && reportsLoss(codePage));
    return bytes;
}

Utf8Check checkUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead == 0) {
            break;
        }
        if (lead < 0x80) {
            continue;
        }
        std::size_t following = 0;
        if ((lead & 0x20) == 0) {
            following = 1;
        } else if ((lead & 0x10) == 0) {
            following = 2;
        } else if ((lead & 0x08) == 0) {
            following = 3;
        } else {
            return {};
        }
        for (std::size_t k = 1; k <= following; ++k) {
            if (i + k >= bytes.size()) {
                return {false, true};
            }
            if ((static_cast<unsigned char>(bytes[i + k]) & 0x80) == 0) {
                return {};
            }
        }
        i += following;
    }
    return {true, false};
}

std::u16string utf8ToUtf16(std::string_view bytes) {
    // Never more units than bytes.  Reserving leaves the units unwritten
    // until they are appended.
    std::u16string text;
    text.reserve(bytes.size());
    appendUtf8AsUtf16(text, bytes);
    return text;
}

void appendUtf8AsUtf16(std::u16string& text, std::string_view bytes) {
    // ASCII runs, nearly all of a profile, are widened a block at a time
    // without the decoder.
    std::array<char16_t, kConversionBlock> block;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t run = convertAsciiRun(bytes.substr(i), std::span<char16_t>(block));
        if (run > 0) {
            text.append(block.data(), run);
            i += run;
            continue;
        }
        Utf8Step step = decodeUtf8At(bytes, i);
        i += step.length;
        appendUtf16(text, step.codePoint);
    }
}

std::string utf16ToUtf8(std::u16string_view text) {
    // ASCII needs one byte per unit; anything else is counted as it comes.
    std::string bytes;
    bytes.reserve(text.size());
    std::array<char, kConversionBlock> block;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t run = convertAsciiRun(text.substr(i), std::span<char>(block));
        if (run > 0) {
            bytes.append(block.data(), run);
            i += run;
            continue;
        }
        appendUtf8(bytes, nextCodePoint(text, i));
    }
    return bytes;
}

std::u32string utf16ToUtf32(std::u16string_view text) {
    std::u32string units;
    units.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        units.push_back(nextCodePoint(text, i));
    }
    return units;
}

std::u16string utf32ToUtf16(std::u32string_view units) {
    std::u16string text;
    text.reserve(units.size());
    for (char32_t unit : units) {
        appendUtf16(text, unit);
    }
    return text;
}
