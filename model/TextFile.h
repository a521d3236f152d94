#pragma once

#include "model/XmlResult.h"
#include "model/XmlText.h"

#include <string>
#include <string_view>

// Moves the UTF-16 text of an XML document to and from a file.  `flags` are
// the document flags: reading reports the file's byte-order mark in them,
// writing chooses the mark from them.  What was done is recorded in `result`.

// The text is emptied first, also when reading fails.  A UTF-8 file that
// holds only ASCII becomes the text without being converted or copied.
bool readTextFile(const std::string& path, XmlText& text, unsigned& flags, XmlResult& result);
bool readTextFile(const std::string& path, std::u16string& text, unsigned& flags, XmlResult& result);
// Gives the file the text as its whole new content, or leaves it as it was
// and reports why (see FileReplacement): a caller never mistakes a short file
// for a saved one, and no device, FIFO or foreign file is harmed.  An ASCII
// text written as UTF-8 goes out as it stands.
bool writeTextFile(const std::string& path, const XmlText& text, unsigned& flags, XmlResult& result);
bool writeTextFile(const std::string& path, std::u16string_view text, unsigned& flags, XmlResult& result);

// The encoding a text names for itself: the "encoding" of an XML declaration
// at its very start, or the charset of an HTML meta Content-Type.
template <class Char>
std::u16string detectDeclaredEncoding(std::basic_string_view<Char> text);
inline std::u16string detectDeclaredEncoding(std::u16string_view text) {
    return detectDeclaredEncoding<char16_t>(text);
}
