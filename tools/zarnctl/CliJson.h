#pragma once

#include "tools/zarnctl/CliKeyboard.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

class ConfigDocument;
struct LayoutDifference;

// A JSON string literal of UTF-8 text.
std::string JsonString(const std::string& text);

// The machine-readable forms of list, counters and show: one JSON object each.
void PrintListJson(const std::vector<KeyboardListing>& keyboards, std::ostream& out);
void PrintCountersJson(const ConfigDocument& doc, std::ostream& out);
// show --json: every key of `layer` (both without one) in the words set
// --json takes back, and the colours when asked.
void PrintShowJson(const ConfigDocument& doc, std::optional<int> layer, bool colours, std::ostream& out);

// diff --json: both sides, whether they are equal, and every difference in
// the words of the status text.
void PrintDiffJson(const ConfigDocument& a, const std::string& aName, const ConfigDocument& b,
                   const std::string& bName, const std::vector<LayoutDifference>& differences,
                   std::ostream& out);
