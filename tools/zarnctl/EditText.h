#pragma once

#include "model/ConfigDocument.h"

#include <optional>
#include <string>
#include <string_view>

struct NameMatch;

// How set, colour and diff word keys and read colours.

// "A (key 43)"; the doubled labels by their side: "Right Shift (key 66)".
std::string KeyHeading(int key);
// Why a key name was refused, with the names meant.
std::string KeyRefusal(std::string_view text, const NameMatch& match);
// "#RRGGBB" or "RRGGBB", any case; nothing for any other text.
std::optional<Rgb> ColourOfText(std::string_view text);
