#pragma once

#include "tools/zarnctl/CliKeyboard.h"

#include <ostream>
#include <string>
#include <vector>

class ConfigDocument;

// A JSON string literal of UTF-8 text.
std::string JsonString(const std::string& text);

// The machine-readable forms of list, counters and show: one JSON object each.
void PrintListJson(const std::vector<KeyboardListing>& keyboards, std::ostream& out);
void PrintCountersJson(const ConfigDocument& doc, std::ostream& out);
void PrintShowJson(const ConfigDocument& doc, int layer, std::ostream& out);
