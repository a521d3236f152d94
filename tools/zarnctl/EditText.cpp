#include "tools/zarnctl/EditText.h"

#include "model/AssignmentVocabulary.h"
#include "model/Catalogue.h"

#include <charconv>

std::string KeyHeading(int key) {
    const std::string side = KeySideName(key);
    return (side.empty() ? std::string(KeyLabel(key)) : side) + " (key " + std::to_string(key) + ")";
}

std::optional<Rgb> ColourOfText(std::string_view text) {
    if (text.starts_with('#')) {
        text.remove_prefix(1);
    }
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
        return std::nullopt;
    }
    Rgb colour{};
    for (std::size_t c = 0; c < 3; ++c) {
        std::from_chars(text.data() + 2 * c, text.data() + 2 * c + 2, colour[c], 16);
    }
    return colour;
}

std::string KeyRefusal(std::string_view text, const NameMatch& match) {
    std::string message = "'" + std::string(text) + "' ";
    if (match.ambiguous) {
        message += "names more than one key: ";
    } else {
        message += "is not a key";
        message += match.alternatives.empty() ? "" : "; close names: ";
    }
    for (std::size_t i = 0; i < match.alternatives.size(); ++i) {
        message += (i == 0 ? "" : ", ") + match.alternatives[i];
    }
    return message;
}
