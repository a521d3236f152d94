#include "platform/CodePageConverter.h"

#include "platform/IcuLibrary.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <memory>

namespace {

struct NamedPage {
    int codePage;
    const char* name;
};

// Converter names checked to open with ICU 72.  The windows-N aliases pick the
// Windows tables; plain cpN or ibm-N names would give IBM's variants, which
// differ (ibm-1252 is not Windows-1252, cp949 is not the Windows table).
constexpr std::array kIcuPages{
    NamedPage{437, "ibm-437"},         NamedPage{708, "ASMO-708"},        NamedPage{720, "windows-720"},
    NamedPage{737, "windows-737"},     NamedPage{775, "windows-775"},     NamedPage{850, "windows-850"},
    NamedPage{852, "windows-852"},     NamedPage{855, "windows-855"},     NamedPage{857, "windows-857"},
    NamedPage{858, "windows-858"},     NamedPage{860, "ibm-860"},         NamedPage{861, "windows-861"},
    NamedPage{862, "windows-862"},     NamedPage{863, "ibm-863"},         NamedPage{864, "ibm-864"},
    NamedPage{865, "ibm-865"},         NamedPage{866, "windows-866"},     NamedPage{869, "windows-869"},
    NamedPage{874, "windows-874"},     NamedPage{932, "windows-932"},     NamedPage{936, "windows-936"},
    NamedPage{949, "windows-949"},     NamedPage{950, "windows-950"},     NamedPage{1125, "ibm-1125"},
    NamedPage{1133, "ibm-1133"},       NamedPage{1250, "windows-1250"},   NamedPage{1251, "windows-1251"},
    NamedPage{1252, "windows-1252"},   NamedPage{1253, "windows-1253"},   NamedPage{1254, "windows-1254"},
    NamedPage{1255, "windows-1255"},   NamedPage{1256, "windows-1256"},   NamedPage{1257, "windows-1257"},
    NamedPage{1258, "windows-1258"},   NamedPage{10000, "windows-10000"}, NamedPage{10006, "windows-10006"},
    NamedPage{10007, "windows-10007"}, NamedPage{10029, "windows-10029"}, NamedPage{10081, "windows-10081"},
    NamedPage{12000, "UTF-32LE"},      NamedPage{12001, "UTF-32BE"},      NamedPage{20127, "windows-20127"},
    NamedPage{20866, "windows-20866"}, NamedPage{20932, "EUC-JP"},        NamedPage{20936, "GB2312"},
    NamedPage{20949, "EUC-KR"},        NamedPage{21866, "windows-21866"}, NamedPage{28591, "ISO-8859-1"},
    NamedPage{28592, "windows-28592"}, NamedPage{28593, "windows-28593"}, NamedPage{28594, "windows-28594"},
    NamedPage{28595, "windows-28595"}, NamedPage{28596, "windows-28596"}, NamedPage{28597, "windows-28597"},
    NamedPage{28598, "windows-28598"}, NamedPage{28599, "windows-28599"}, NamedPage{28603, "windows-28603"},
    NamedPage{28605, "windows-28605"}, NamedPage{38598, "ISO-8859-8-I"},  NamedPage{50220, "ISO-2022-JP"},
    NamedPage{50221, "ISO-2022-JP"},   NamedPage{50222, "ISO-2022-JP"},   NamedPage{50225, "ISO-2022-KR"},
    NamedPage{50227, "ISO-2022-CN"},   NamedPage{51932, "EUC-JP"},        NamedPage{51936, "EUC-CN"},
    NamedPage{51949, "windows-51949"}, NamedPage{52936, "HZ-GB-2312"},    NamedPage{54936, "windows-54936"},
    NamedPage{57002, "windows-57002"}, NamedPage{57003, "windows-57003"}, NamedPage{57004, "windows-57004"},
    NamedPage{57005, "windows-57005"}, NamedPage{57006, "windows-57006"}, NamedPage{57007, "windows-57007"},
    NamedPage{57008, "windows-57008"}, NamedPage{57009, "windows-57009"}, NamedPage{57010, "windows-57010"},
    NamedPage{57011, "windows-57011"}, NamedPage{65000, "windows-65000"},
};

// Pages ICU lacks but glibc's iconv carries under another name.
constexpr std::array kIconvPages{
    NamedPage{154, "PT154"},       NamedPage{1361, "JOHAB"},      NamedPage{10017, "MAC-UK"},
    NamedPage{10079, "MAC-IS"},    NamedPage{20106, "DIN_66003"}, NamedPage{20107, "SEN_850200_B"},
    NamedPage{20108, "NS_4551-1"}, NamedPage{20261, "T.61-8BIT"}, NamedPage{20269, "ISO_6937"},
};

template <std::size_t N>
const char* findName(const std::array<NamedPage, N>& table, int codePage) {
    for (const NamedPage& row : table) {
        if (row.codePage == codePage) {
            return row.name;
        }
    }
    return nullptr;
}

struct IcuCloser {
    // A converter exists only where ICU was loaded.
    void operator()(UConverter* c) const { icuLibrary()->close(c); }
};
using IcuConverter = std::unique_ptr<UConverter, IcuCloser>;

IcuConverter openIcu(const char* name) {
    const IcuLibrary* icu = icuLibrary();
    if (icu == nullptr) {
        return nullptr;
    }
    UErrorCode error = U_ZERO_ERROR;
    IcuConverter converter(icu->open(name, &error));
    // Aliases that ICU files under several tables give a warning, not a failure.
    if (U_FAILURE(error)) {
        return nullptr;
    }
    icu->setToUCallBack(converter.get(), icu->toUnicodeStop, nullptr, nullptr, nullptr, &error);
    icu->setFromUCallBack(converter.get(), icu->fromUnicodeStop, nullptr, nullptr, nullptr, &error);
    if (U_FAILURE(error)) {
        return nullptr;
    }
    return converter;
}

class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

bool isConversionError(UErrorCode error) {
    return error == U_INVALID_CHAR_FOUND || error == U_ILLEGAL_CHAR_FOUND || error == U_TRUNCATED_CHAR_FOUND;
}

std::u16string icuDecode(UConverter* converter, std::string_view bytes, bool& lost) {
    std::u16string out(bytes.size() + 16, u'\0');
    std::size_t used = 0;
    const char* source = bytes.data();
    const char* sourceEnd = source + bytes.size();
    // Every error consumes at least one byte, so this many rounds always suffice.
    std::size_t rounds = 2 * bytes.size() + 64;
    while (rounds-- > 0) {
        UChar* target = out.data() + used;
        UErrorCode error = U_ZERO_ERROR;
        icuLibrary()->toUnicode(converter, &target, out.data() + out.size(), &source, sourceEnd, nullptr,
                                true, &error);
        used = static_cast<std::size_t>(target - out.data());
        if (error == U_BUFFER_OVERFLOW_ERROR) {
            out.resize(out.size() * 2);
            continue;
        }
        if (isConversionError(error)) {
            lost = true;
            if (used == out.size()) {
                out.resize(out.size() * 2);
            }
            out[used++] = u'?';
            continue;
        }
        if (U_FAILURE(error)) {
            lost = true;
        }
        break;
    }
    out.resize(used);
    return out;
}

UErrorCode icuEncodeChunk(UConverter* converter, const UChar*& source, const UChar* sourceEnd,
                          std::string& out, std::size_t& used, bool flush) {
    for (;;) {
        char* target = out.data() + used;
        UErrorCode error = U_ZERO_ERROR;
        icuLibrary()->fromUnicode(converter, &target, out.data() + out.size(), &source, sourceEnd, nullptr,
                                  flush, &error);
        used = static_cast<std::size_t>(target - out.data());
        if (error != U_BUFFER_OVERFLOW_ERROR) {
            return error;
        }
        out.resize(out.size() * 2);
    }
}

std::string icuEncode(UConverter* converter, std::u16string_view text, bool& lost) {
    std::string out(text.size() * 2 + 16, '\0');
    std::size_t used = 0;
    const UChar* source = text.data();
    const UChar* sourceEnd = source + text.size();
    std::size_t rounds = text.size() + 64;
    while (rounds-- > 0) {
        UErrorCode error = icuEncodeChunk(converter, source, sourceEnd, out, used, true);
        if (isConversionError(error)) {
            lost = true;
            static constexpr UChar kDefault[] = u"?";
            const UChar* substitute = kDefault;
            icuEncodeChunk(converter, substitute, kDefault + 1, out, used, false);
            continue;
        }
        if (U_FAILURE(error)) {
            lost = true;
        }
        break;
    }
    out.resize(used);
    return out;
}

std::u16string iconvDecode(const IconvHandle& cd, std::string_view bytes, bool& lost) {
    std::string units(bytes.size() * 4 + 16, '\0');
    std::size_t used = 0;
    auto put = [&](char16_t unit) {
        if (units.size() - used < 2) {
            units.resize(units.size() * 2);
        }
        units[used++] = static_cast<char>(unit & 0xFF);
        units[used++] = static_cast<char>(unit >> 8);
    };
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    for (;;) {
        char* out = units.data() + used;
        std::size_t outLeft = units.size() - used;
        std::size_t rc = iconv(cd.get(), inLeft > 0 ? &in : nullptr, &inLeft, &out, &outLeft);
        used = units.size() - outLeft;
        if (rc != static_cast<std::size_t>(-1)) {
            if (inLeft == 0) {
                break;
            }
            continue;
        }
        if (errno == E2BIG) {
            units.resize(units.size() * 2);
        } else if (errno == EILSEQ && inLeft > 0) {
            lost = true;
            put(u'?');
            ++in;
            --inLeft;
        } else {
            lost = true;
            put(u'?');
            break;
        }
    }
    std::u16string text(used / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(units[2 * i]) |
                                        static_cast<unsigned char>(units[2 * i + 1]) << 8);
    }
    return text;
}

bool isSurrogatePairAt(std::u16string_view text, std::size_t i) {
    return i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
           text[i + 1] <= 0xDFFF;
}

std::string iconvEncode(const IconvHandle& cd, std::u16string_view text, bool& lost) {
    std::string units(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        units[2 * i] = static_cast<char>(text[i] & 0xFF);
        units[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    std::string out(text.size() * 2 + 16, '\0');
    std::size_t used = 0;
    char* in = units.data();
    std::size_t inLeft = units.size();
    for (;;) {
        char* target = out.data() + used;
        std::size_t outLeft = out.size() - used;
        std::size_t rc = iconv(cd.get(), inLeft > 0 ? &in : nullptr, &inLeft, &target, &outLeft);
        used = out.size() - outLeft;
        if (rc != static_cast<std::size_t>(-1)) {
            if (inLeft == 0) {
                break;
            }
            continue;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        lost = true;
        if (used == out.size()) {
            out.resize(out.size() * 2);
        }
        // The fallback pages all keep ASCII's '?'.
        out[used++] = '?';
        if (errno != EILSEQ || inLeft < 2) {
            break;
        }
        std::size_t unit = static_cast<std::size_t>(in - units.data()) / 2;
        std::size_t skip = isSurrogatePairAt(text, unit) ? 4 : 2;
        skip = std::min(skip, inLeft);
        in += skip;
        inLeft -= skip;
    }
    out.resize(used);
    return out;
}

// Last resort when the locale names a set neither backend opens: ASCII.
std::u16string asciiDecode(std::string_view bytes, bool& lost) {
    std::u16string text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        lost = lost || byte >= 0x80;
        text.push_back(byte < 0x80 ? byte : u'?');
    }
    return text;
}

std::string asciiEncode(std::u16string_view text, bool& lost) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] < 0x80) {
            bytes.push_back(static_cast<char>(text[i]));
            continue;
        }
        lost = true;
        bytes.push_back('?');
        if (isSurrogatePairAt(text, i)) {
            ++i;
        }
    }
    return bytes;
}

} // namespace

CodePageBackend codePageBackend(int codePage) {
    if (findName(kIcuPages, codePage)) {
        return CodePageBackend::Icu;
    }
    if (findName(kIconvPages, codePage)) {
        return CodePageBackend::Iconv;
    }
    return CodePageBackend::LocaleDefault;
}

bool codePageAvailable(int codePage) {
    if (const char* name = findName(kIcuPages, codePage)) {
        return openIcu(name) != nullptr;
    }
    if (const char* name = findName(kIconvPages, codePage)) {
        return IconvHandle("UTF-16LE", name).ok();
    }
    return false;
}

std::string localeCharset() {
    locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        // The environment names a locale that is not installed: the C locale's set.
        return "ANSI_X3.4-1968";
    }
    std::string charset = nl_langinfo_l(CODESET, locale);
    freelocale(locale);
    return charset;
}

std::u16string decodeCodePage(int codePage, std::string_view bytes, bool& lost) {
    if (const char* name = findName(kIcuPages, codePage)) {
        if (IcuConverter converter = openIcu(name)) {
            return icuDecode(converter.get(), bytes, lost);
        }
    }
    if (const char* name = findName(kIconvPages, codePage)) {
        IconvHandle cd("UTF-16LE", name);
        if (cd.ok()) {
            return iconvDecode(cd, bytes, lost);
        }
    }
    std::string charset = localeCharset();
    if (IcuConverter converter = openIcu(charset.c_str())) {
        return icuDecode(converter.get(), bytes, lost);
    }
    IconvHandle cd("UTF-16LE", charset.c_str());
    if (cd.ok()) {
        return iconvDecode(cd, bytes, lost);
    }
    return asciiDecode(bytes, lost);
}

std::string encodeCodePage(int codePage, std::u16string_view text, bool& lost) {
    if (const char* name = findName(kIcuPages, codePage)) {
        if (IcuConverter converter = openIcu(name)) {
            return icuEncode(converter.get(), text, lost);
        }
    }
    if (const char* name = findName(kIconvPages, codePage)) {
        IconvHandle cd(name, "UTF-16LE");
        if (cd.ok()) {
            return iconvEncode(cd, text, lost);
        }
    }
    std::string charset = localeCharset();
    if (IcuConverter converter = openIcu(charset.c_str())) {
        return icuEncode(converter.get(), text, lost);
    }
    IconvHandle cd(charset.c_str(), "UTF-16LE");
    if (cd.ok()) {
        return iconvEncode(cd, text, lost);
    }
    return asciiEncode(text, lost);
}
