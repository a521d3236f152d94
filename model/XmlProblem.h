#pragma once

#include <string>

class CXmlDocument;

// What went wrong with a document the XML component could not read or write,
// in words for the user rather than as its result entries: the system's
// reason for a file that could not be read or written, "the file is empty",
// "no root element", "more than one root element" or "not well formed at
// line N".  Empty when the result names nothing wrong.
std::string DescribeXmlProblem(const CXmlDocument& xml);
