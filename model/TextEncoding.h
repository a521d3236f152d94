#pragma once

#include <string>
#include <string_view>

// Code page numbers with a fixed meaning in the text-file layer.
inline constexpr int kCodePageDefault = 0; // the system's default 8-bit code page
inline constexpr int kCodePageUnknown = -1;
inline constexpr int kCodePageUtf16 = 1200;
inline constexpr int kCodePageUtf16Be = 1201;
inline constexpr int kCodePageUtf32Units = 65005; // UTF-32 held as 32-bit units
inline constexpr int kCodePageUtf8 = 65001;

// 0 for the empty name, -1 for a name that is not in the table.
int codePageOfName(std::u16string_view name);

// Bytes of a code page to UTF-16 and back.  -1 converts as 0.  `lost` is set
// when characters had no equivalent, except for the targets whose converters
// never report it (the ISO-2022 family, HZ, GB18030, ISCII, UTF-7, UTF-8).
std::u16string decodeText(int codePage, std::string_view bytes, bool& lost);
std::string encodeText(int codePage, std::u16string_view text, bool& lost);

struct Utf8Check {
    bool valid = false;
    bool cutOff = false; // invalid only because the last sequence is incomplete
};

// The lenient test that decides whether an undeclared file is UTF-8: every
// byte from 0x80 up must be followed by as many bytes with bit 7 set as its
// bits 5..3 announce; a zero byte ends the test.
Utf8Check checkUtf8(std::string_view bytes);

// Our own Unicode conversions; malformed input gives '?'.
std::u16string utf8ToUtf16(std::string_view bytes);
// The same, appended to `text`: a caller converting many short texts keeps one buffer.
void appendUtf8AsUtf16(std::u16string& text, std::string_view bytes);
std::string utf16ToUtf8(std::u16string_view text);
std::u32string utf16ToUtf32(std::u16string_view text);
std::u16string utf32ToUtf16(std::u32string_view text);
