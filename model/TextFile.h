#pragma once

#include "model/XmlResult.h"

#include <string>
#include <string_view>

// Moves the UTF-16 text of an XML document to and from a file.  `flags` are
// the document flags: reading reports the file's byte-order mark in them,
// writing chooses the mark from them.  What was done is recorded in `result`.

// The text is emptied first, also when reading fails.
bool readTextFile(const std::string& path, std::u16string& text, unsigned& flags, XmlResult& result);
// Creates or truncates the file.  A failure to write, flush or close it is
// reported, so that a caller never mistakes a short file for a saved one.
bool writeTextFile(const std::string& path, std::u16string_view text, unsigned& flags, XmlResult& result);

// The encoding a text names for itself: the "encoding" of an XML declaration
// at its very start, or the charset of an HTML meta Content-Type.
std::u16string detectDeclaredEncoding(std::u16string_view text);
