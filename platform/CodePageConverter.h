#pragma once

#include <string>
#include <string_view>

// Legacy code pages, named by the code page numbers of the original desktop
// platform, converted to and from UTF-16.  Characters that have no
// equivalent become '?' (the platform's default character) and set `lost`;
// a conversion never fails.  UTF-8, UTF-16 and UTF-32 are not handled here:
// the text-file layer converts those itself.
enum class CodePageBackend {
    Icu,
    Iconv,
    LocaleDefault, // neither backend knows the page: the locale's character set stands in
};

// Which backend converts a page; 0 is the system's default code page.
CodePageBackend codePageBackend(int codePage);

// Whether the page's own backend opens its converter here.
bool codePageAvailable(int codePage);

// The locale's character set as the environment sets it (LC_ALL, LC_CTYPE,
// LANG), whatever the process's own setlocale state is.
std::string localeCharset();

std::u16string decodeCodePage(int codePage, std::string_view bytes, bool& lost);
std::string encodeCodePage(int codePage, std::u16string_view text, bool& lost);
